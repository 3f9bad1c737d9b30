#include "platform/registry_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/win32_handles.h"

namespace tolvarine {

namespace {

// The text with its environment variables replaced; as it is when that fails.
std::wstring Expanded(const std::wstring& text) {
    DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    while (size > 0) {
        std::wstring expanded(size, L'\0');
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
        if (needed == 0) break;
        if (needed <= size) {
            expanded.resize(needed - 1);  // less its NUL
            return expanded;
        }
        size = needed;
    }
    return text;
}

std::optional<RegistryData> QueryValue(const UniqueRegistryKey& key, std::wstring_view valueName) {
    const std::wstring name(valueName);
    // One call for the usual short value; a longer text takes another. The
    // buffer keeps room for a NUL that the stored text may lack.
    std::vector<wchar_t> data(256);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
        size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
        status = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) data.resize(size / sizeof(wchar_t) + 2);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    if (type == REG_DWORD) {
        if (size != sizeof(DWORD)) return std::nullopt;
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof(number));
        return RegistryData(std::uint32_t{number});
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(data.data(), size / sizeof(wchar_t));
    text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
    return RegistryData(type == REG_EXPAND_SZ ? Expanded(text) : text);
}

}  // namespace

std::vector<std::optional<RegistryData>> QueryRegistryValues(HKEY root, std::wstring_view keyPath,
                                                             std::span<const std::wstring_view> valueNames,
                                                             REGSAM view) {
    std::vector<std::optional<RegistryData>> values(valueNames.size());
    UniqueRegistryKey key;
    if (::RegOpenKeyExW(root, std::wstring(keyPath).c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS)
        return values;
    for (std::size_t i = 0; i < valueNames.size(); ++i) values[i] = QueryValue(key, valueNames[i]);
    return values;
}

std::vector<std::wstring> RegistrySubkeys(HKEY root, std::wstring_view keyPath) {
    std::vector<std::wstring> names;
    UniqueRegistryKey key;
    if (::RegOpenKeyExW(root, std::wstring(keyPath).c_str(), 0, KEY_ENUMERATE_SUB_KEYS, key.put()) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];  // the longest key name Windows allows, and its NUL
        DWORD length = 256;
        if (::RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace tolvarine
