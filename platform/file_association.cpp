#include "platform/file_association.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstring>
#include <span>

#include "platform/association_answer.h"
#include "platform/registry_reader.h"
#include "platform/system_library.h"
#include "platform/win32_handles.h"

namespace tolvarine {

namespace {

// The machine in the PE header of a file mapped as data, which is laid out
// as the file is. The loader has checked the signatures; the offsets are
// still checked against the mapping, which may be cut short.
std::optional<std::uint16_t> ImageMachine(const std::byte* base) {
    MEMORY_BASIC_INFORMATION region;
    if (::VirtualQuery(base, &region, sizeof(region)) != sizeof(region)) return std::nullopt;
    const std::size_t size = region.RegionSize;
    IMAGE_DOS_HEADER dos;
    if (size < sizeof(dos)) return std::nullopt;
    std::memcpy(&dos, base, sizeof(dos));
    const auto headerOffset = static_cast<std::size_t>(static_cast<std::uint32_t>(dos.e_lfanew));
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || headerOffset > size - sizeof(DWORD) - sizeof(IMAGE_FILE_HEADER))
        return std::nullopt;
    DWORD signature;
    IMAGE_FILE_HEADER header;
    std::memcpy(&signature, base + headerOffset, sizeof(signature));
    std::memcpy(&header, base + headerOffset + sizeof(signature), sizeof(header));
    if (signature != IMAGE_NT_SIGNATURE) return std::nullopt;
    return header.Machine;
}

std::optional<FileVersion> VersionOf(HMODULE file) {
    const HRSRC resource = ::FindResourceW(file, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const HGLOBAL loaded = resource ? ::LoadResource(file, resource) : nullptr;
    const auto* block = static_cast<const std::byte*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!block) return std::nullopt;
    const std::size_t size = ::SizeofResource(file, resource);

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
    return FileVersion{HIWORD(fixed.dwFileVersionMS), LOWORD(fixed.dwFileVersionMS), HIWORD(fixed.dwFileVersionLS),
                       LOWORD(fixed.dwFileVersionLS)};
}

static_assert(association::kNoTruncate == ASSOCF_NOTRUNCATE && association::kIgnoreUnknown == ASSOCF_INIT_IGNOREUNKNOWN);
static_assert(association::kCommand == ASSOCSTR_COMMAND && association::kExecutable == ASSOCSTR_EXECUTABLE);
static_assert(association::kFail == E_FAIL && association::kPointer == E_POINTER && association::kInvalidArg == E_INVALIDARG);
static_assert(association::kFileNotFound == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) &&
              association::kNoAssociation == HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION));

// The key of the class that the shell runs for the extension, as
// AssocQueryKeyW gives it (the user's choice on Windows 8 and later
// included); where it does not (Wine), the class the extension's key
// names, as Windows XP resolves it.
UniqueRegistryKey ShellClassKey(HMODULE shlwapi, const std::wstring& extension) {
    UniqueRegistryKey key;
    const auto queryKey = ModuleFunction<decltype(&::AssocQueryKeyW)>(shlwapi, "AssocQueryKeyW");
    if (queryKey && SUCCEEDED(queryKey(0, ASSOCKEY_SHELLEXECCLASS, extension.c_str(), nullptr, key.put()))) return key;
    key.release();  // a failed call hands out no key to close
    const std::wstring_view defaultValue[] = {L""};
    const auto progId = QueryRegistryValues(HKEY_CLASSES_ROOT, extension, defaultValue, 0)[0];
    const auto name = ValueOf<std::wstring>(progId);
    if (!name || name->empty() ||
        ::RegOpenKeyExW(HKEY_CLASSES_ROOT, name->c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return {};
    return key;
}

// Whether the verb's command key of that class holds Windows Installer's
// descriptor, the value "command" beside the default.
bool CarriesInstallerDescriptor(HMODULE shlwapi, const std::wstring& extension, const std::wstring& verb) {
    const UniqueRegistryKey classKey = ShellClassKey(shlwapi, extension);
    UniqueRegistryKey command;
    if (!classKey || ::RegOpenKeyExW(classKey.get(), (L"shell\\" + verb + L"\\command").c_str(), 0, KEY_QUERY_VALUE,
                                     command.put()) != ERROR_SUCCESS)
        return false;
    return ::RegQueryValueExW(command.get(), L"command", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

AssociatedProgram AssociatedExecutable(std::wstring_view extension, std::wstring_view verb) {
    const UniqueModule shlwapi = LoadSystemLibrary(L"shlwapi.dll");
    const auto query = ModuleFunction<decltype(&::AssocQueryStringW)>(shlwapi.get(), "AssocQueryStringW");
    if (!query) return {};
    const std::wstring extensionText(extension);
    const std::wstring verbText(verb);
    AssociatedProgram program = association::ReadAssociation(
        [&](std::uint32_t flags, int string, std::span<wchar_t> buffer, std::uint32_t& length) -> std::int32_t {
            DWORD room = length;
            const HRESULT result = query(static_cast<ASSOCF>(flags), static_cast<ASSOCSTR>(string),
                                         extensionText.c_str(), verbText.c_str(), buffer.data(), &room);
            length = room;
            return result;
        });
    if (program.answer == AssociatedProgram::Answer::Program)
        program.installedOnFirstUse = CarriesInstallerDescriptor(shlwapi.get(), extensionText, verbText);
    return program;
}

ProgramImage ReadProgramImageFile(std::wstring_view path) {
    // Read from the file mapped as data, which runs none of its code and
    // works for an image of any machine: one mapping, where
    // GetFileVersionInfoW makes two (and lives in version.dll).
    const UniqueModule file(::LoadLibraryExW(std::wstring(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!file) return {};
    // The handle of a data file is its view's address with the low bits set.
    const auto* base = reinterpret_cast<const std::byte*>(reinterpret_cast<std::uintptr_t>(file.get()) &
                                                          ~std::uintptr_t{3});
    return {ImageMachine(base), VersionOf(file.get())};
}

}  // namespace tolvarine
