#include "tests/support/timeline_log.h"

#include <vector>

#include "platform/win32_handles.h"

namespace tolvarine::support {

std::int64_t NowMicroseconds() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart / frequency.QuadPart * 1'000'000 +
           counter.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart;
}

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

void AppendEvent(const std::wstring& path, std::wstring_view source, std::wstring_view event) {
    AppendEventAt(path, NowMicroseconds(), source, event);
}

void AppendEventAt(const std::wstring& path, std::int64_t microseconds, std::wstring_view source,
                   std::wstring_view event) {
    if (path.empty()) return;
    const std::string line = std::to_string(microseconds) + " " + Utf8(source) + " " + Utf8(event) + "\n";
    const UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

long ReadSecurityLevel() {
    DWORD level = 0;
    DWORD size = sizeof(level);
    DWORD type = 0;
    UniqueRegistryKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\11.0\\Access\\Security", 0, KEY_READ,
                        key.put()) != ERROR_SUCCESS)
        return -1;
    if (::RegQueryValueExW(key.get(), L"Level", nullptr, &type, reinterpret_cast<BYTE*>(&level), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return -1;
    return static_cast<long>(level);
}

std::wstring Environment(const wchar_t* name, std::wstring_view fallback) {
    const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return std::wstring(fallback);
    std::vector<wchar_t> buffer(length);
    ::GetEnvironmentVariableW(name, buffer.data(), length);
    return buffer.data();
}

}  // namespace tolvarine::support
