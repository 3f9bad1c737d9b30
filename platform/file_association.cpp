#include "platform/file_association.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
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
    const UniqueModule version = LoadSystemLibrary(L"version.dll");
    const auto infoSize = ModuleFunction<decltype(&::GetFileVersionInfoSizeW)>(version.get(), "GetFileVersionInfoSizeW");
    const auto info = ModuleFunction<decltype(&::GetFileVersionInfoW)>(version.get(), "GetFileVersionInfoW");
    const auto queryValue = ModuleFunction<decltype(&::VerQueryValueW)>(version.get(), "VerQueryValueW");
    if (!infoSize || !info || !queryValue) return std::nullopt;

    const std::wstring file(path);
    DWORD unused = 0;
    const DWORD size = infoSize(file.c_str(), &unused);
    if (size == 0) return std::nullopt;
    std::vector<std::byte> block(size);
    if (!info(file.c_str(), 0, size, block.data())) return std::nullopt;
    void* found = nullptr;
    UINT length = 0;
    if (!queryValue(block.data(), L"\\", &found, &length) || !found || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return HIWORD(fixed->dwFileVersionMS);
}

}  // namespace tolvarine
