#include "platform/registry_reader.h"

#include <algorithm>

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
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD) {
        DWORD number = 0;
        size = sizeof(number);
        if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof(number))
            return std::nullopt;
        return RegistryData(std::uint32_t{number});
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // The stored text need not end in a NUL; one more character keeps it whole.
    const DWORD textType = type;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS ||
        type != textType)
        return std::nullopt;
    text.resize(size / sizeof(wchar_t));
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
