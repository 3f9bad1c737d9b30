#include "platform/running_program.h"

#include <windows.h>

#include <vector>

#include "platform/system_error.h"

namespace tolvarine {

std::wstring RunningProgramPath() {
    // Paths may exceed MAX_PATH; grow until the whole name fits. When it does
    // not fit, the call fills the buffer (Windows XP without a terminator).
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) ThrowLastError();
        if (length < size) return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768) throw ErrorFromCode(ERROR_FILENAME_EXCED_RANGE);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace tolvarine
