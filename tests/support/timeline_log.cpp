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

std::wstring ReadTrustedLocation() {
    const std::wstring office = L"Software\\Microsoft\\Office";
    UniqueRegistryKey versions;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, office.c_str(), 0, KEY_READ, versions.put()) != ERROR_SUCCESS)
        return L"none";
    wchar_t version[256];
    for (DWORD i = 0, length = 256; ::RegEnumKeyExW(versions.get(), i, version, &length, nullptr, nullptr, nullptr,
                                                    nullptr) == ERROR_SUCCESS;
         ++i, length = 256) {
        const std::wstring key = office + L"\\" + version + L"\\Access\\Security\\Trusted Locations\\Tolvarine";
        UniqueRegistryKey location;
        wchar_t path[1024] = {};
        DWORD size = sizeof(path) - sizeof(wchar_t);
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, location.put()) == ERROR_SUCCESS &&
            ::RegQueryValueExW(location.get(), L"Path", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) ==
                ERROR_SUCCESS)
            return std::wstring(version) + L" " + path;
    }
    return L"none";
}

std::wstring Environment(const wchar_t* name, std::wstring_view fallback) {
    const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return std::wstring(fallback);
    std::vector<wchar_t> buffer(length);
    ::GetEnvironmentVariableW(name, buffer.data(), length);
    return buffer.data();
}

}  // namespace tolvarine::support
