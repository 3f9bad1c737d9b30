#include "platform/file_association.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/system_library.h"

namespace tolvarine {

namespace {

// Paths may be longer than MAX_PATH, but never longer than this.
constexpr DWORD kLongestPath = 32768;

}  // namespace

std::wstring AssociatedExecutable(std::wstring_view extension, std::wstring_view verb) {
    const UniqueModule shlwapi = LoadSystemLibrary(L"shlwapi.dll");
    const auto query = ModuleFunction<decltype(&::AssocQueryStringW)>(shlwapi.get(), "AssocQueryStringW");
    if (!query) return {};
    const std::wstring extensionText(extension);
    const std::wstring verbText(verb);
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        // With ASSOCF_NOTRUNCATE a path that does not fit fails (and says
        // its length) instead of coming back cut short.
        const HRESULT result = query(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, extensionText.c_str(), verbText.c_str(),
                                     buffer.data(), &length);
        if (result == S_OK) return std::wstring(buffer.data());
        if (result != E_POINTER || buffer.size() >= kLongestPath) return {};
        buffer.resize(std::min(std::max<std::size_t>(length, buffer.size() * 2), std::size_t{kLongestPath}));
    }
}

std::optional<std::uint16_t> FileMajorVersion(std::wstring_view path) {
    // Read from the file mapped as data, which runs none of its code: one
    // mapping, where GetFileVersionInfoW makes two (and lives in version.dll).
    const UniqueModule file(::LoadLibraryExW(std::wstring(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!file) return std::nullopt;
    const HRSRC resource = ::FindResourceW(file.get(), MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const HGLOBAL loaded = resource ? ::LoadResource(file.get(), resource) : nullptr;
    const auto* block = static_cast<const std::byte*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!block) return std::nullopt;
    const std::size_t size = ::SizeofResource(file.get(), resource);

    // The block starts with its length, the length of its value, its type
    // and the key "VS_VERSION_INFO"; the value, VS_FIXEDFILEINFO, follows
    // at the next 32-bit boundary.
    constexpr std::wstring_view kKey = L"VS_VERSION_INFO";
    constexpr std::size_t kKeyOffset = 3 * sizeof(WORD);
    constexpr std::size_t kValueOffset = (kKeyOffset + (kKey.size() + 1) * sizeof(wchar_t) + 3) / 4 * 4;
    if (size < kValueOffset + sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
    WORD valueLength = 0;
    std::memcpy(&valueLength, block + sizeof(WORD), sizeof(valueLength));
    if (valueLength < sizeof(VS_FIXEDFILEINFO) ||
        std::memcmp(block + kKeyOffset, kKey.data(), (kKey.size() + 1) * sizeof(wchar_t)) != 0)
        return std::nullopt;
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, block + kValueOffset, sizeof(fixed));
    if (fixed.dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return HIWORD(fixed.dwFileVersionMS);
}

}  // namespace tolvarine
