#include "platform/system_error.h"

#include "platform/win32_handles.h"

namespace tolvarine {

std::wstring SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueLocalMemory owner(buffer);
    if (length == 0) return L"Unknown error";
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

Error ErrorFromCode(DWORD code) { return Error(code, SystemErrorText(code)); }

void ThrowLastError() {
    const DWORD code = ::GetLastError();
    // A failure that set no code still must not read as success.
    throw ErrorFromCode(code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE);
}

}  // namespace tolvarine
