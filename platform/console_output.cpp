#include "platform/console_output.h"

#include <string>

#include "platform/error.h"
#include "platform/text_encoding.h"

namespace tolvarine {

void WriteStandardText(DWORD stream, std::wstring_view text) {
    const HANDLE output = ::GetStdHandle(stream);
    if (output == nullptr || output == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(output, &mode)) {
        ::WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const UINT consolePage = ::GetConsoleOutputCP();
    try {
        const std::string bytes = EncodeText(text, consolePage != 0 ? consolePage : CP_UTF8);
        ::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    } catch (const Error&) {
        // Nothing is written rather than half a line.
    }
}

void ReportErrorOnConsole(std::uint32_t code, std::wstring_view description) {
    WriteStandardText(STD_ERROR_HANDLE, L"error " + std::to_wstring(code) + L": " + std::wstring(description) + L"\r\n");
}

}  // namespace tolvarine
