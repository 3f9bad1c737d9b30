#include "platform/windows_platform.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/file_association.h"
#include "platform/message_box.h"
#include "platform/module_directory.h"
#include "platform/registry_reader.h"
#include "platform/running_program.h"
#include "platform/system_error.h"
#include "platform/text_encoding.h"
#include "platform/win32_handles.h"

namespace tolvarine {

namespace {

HKEY ToHkey(KeyHandle key) { return reinterpret_cast<HKEY>(key); }
// Predefined roots are sign-extended 32-bit values.
HKEY RootKey(RegistryRoot root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))); }
HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

// The Win32 APIs take null-terminated text; string_view need not be.
std::wstring Terminated(std::wstring_view text) { return std::wstring(text); }

}  // namespace

WindowsPlatform::WindowsPlatform() {
    // Shell extensions that ShellExecute may load expect COM on this thread.
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    comInitialized_ = SUCCEEDED(hr);
}

WindowsPlatform::~WindowsPlatform() {
    if (comInitialized_) ::CoUninitialize();
}

// The system ANSI code page, with the system's replacement for characters it cannot hold.
std::string WindowsPlatform::ToAnsi(std::wstring_view text) { return EncodeText(text, CP_ACP); }

long WindowsPlatform::RegCreateKeyA(RegistryRoot root, std::wstring_view subKey, KeyHandle& key) {
    HKEY opened = ToHkey(key);
    const long status = ::RegCreateKeyA(RootKey(root), ToAnsi(subKey).c_str(), &opened);
    key = reinterpret_cast<KeyHandle>(opened);
    return status;
}

long WindowsPlatform::RegSetValueExA(KeyHandle key, std::wstring_view valueName, std::uint32_t type,
                                     std::span<const std::byte> data) {
    return ::RegSetValueExA(ToHkey(key), ToAnsi(valueName).c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
}

long WindowsPlatform::RegCloseKey(KeyHandle key) { return ::RegCloseKey(ToHkey(key)); }

long WindowsPlatform::WriteVolatileRegistryKey(RegistryRoot root, std::wstring_view parentPath,
                                               std::wstring_view keyName, std::span<const RegistryEntry> values) {
    // Keys created under a volatile key are volatile too, and a volatile key
    // cannot hold ordinary ones: only the last key is made volatile.
    UniqueRegistryKey parent;
    LONG status = ::RegCreateKeyExW(RootKey(root), Terminated(parentPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_CREATE_SUB_KEY, nullptr, parent.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    UniqueRegistryKey key;
    status = ::RegCreateKeyExW(parent.get(), Terminated(keyName).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                               KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    for (const RegistryEntry& value : values) {
        const std::wstring name(value.name);
        LONG written = ERROR_SUCCESS;
        if (const auto* number = std::get_if<std::uint32_t>(&value.data)) {
            const DWORD dword = *number;
            written = ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword),
                                       sizeof(dword));
        } else {
            const std::wstring text(std::get<std::wstring_view>(value.data));
            written = ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        }
        if (status == ERROR_SUCCESS) status = written;
    }
    return status;
}

long WindowsPlatform::DeleteRegistryKey(RegistryRoot root, std::wstring_view keyPath) {
    return ::RegDeleteKeyW(RootKey(root), Terminated(keyPath).c_str());
}

std::vector<std::optional<RegistryData>> WindowsPlatform::ReadRegistryValues(
    RegistryRoot root, std::wstring_view keyPath, std::span<const std::wstring_view> valueNames) {
    return QueryRegistryValues(RootKey(root), keyPath, valueNames, 0);
}

std::vector<std::wstring> WindowsPlatform::ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) {
    return RegistrySubkeys(RootKey(root), keyPath);
}

bool WindowsPlatform::IsNetworkDrive(wchar_t driveLetter) {
    const wchar_t root[] = {driveLetter, L':', L'\\', L'\0'};
    return ::GetDriveTypeW(root) == DRIVE_REMOTE;
}

std::wstring WindowsPlatform::UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty()) ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

AssociatedProgram WindowsPlatform::FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) {
    return AssociatedExecutable(extension, verb);
}

ProgramImage WindowsPlatform::ReadProgramImage(std::wstring_view path) {
    return ReadProgramImageFile(path);
}

WindowHandle WindowsPlatform::GetDesktopWindow() { return reinterpret_cast<WindowHandle>(::GetDesktopWindow()); }

std::int32_t WindowsPlatform::ShellExecuteW(WindowHandle owner, std::wstring_view verb, std::wstring_view file,
                                            std::wstring_view parameters, std::wstring_view directory,
                                            int showCommand) {
    const HINSTANCE result =
        ::ShellExecuteW(ToHwnd(owner), Terminated(verb).c_str(), Terminated(file).c_str(),
                        Terminated(parameters).c_str(), Terminated(directory).c_str(), showCommand);
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(result));
}

WindowHandle WindowsPlatform::FindWindowExA(WindowHandle after, std::wstring_view title) {
    return reinterpret_cast<WindowHandle>(::FindWindowExA(nullptr, ToHwnd(after), nullptr, ToAnsi(title).c_str()));
}

std::wstring WindowsPlatform::GetClassNameW(WindowHandle window) {
    wchar_t name[256];  // the longest class name Windows allows
    const int length = ::GetClassNameW(ToHwnd(window), name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void WindowsPlatform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t WindowsPlatform::GetTickCount() { return ::GetTickCount(); }

std::wstring WindowsPlatform::GetLauncherDirectory() {
    std::wstring directory = DirectoryOfModulePath(RunningProgramPath());
    if (directory.empty()) throw ErrorFromCode(ERROR_BAD_PATHNAME);
    return directory;
}

void WindowsPlatform::ShowMessageBox(std::wstring_view text) {
    ShowBox(text, kProgramTitle, MB_OK | MB_APPLMODAL);
}

void WindowsPlatform::ShowWarningOnTop(std::wstring_view text) {
    // Another program's window has just taken the foreground, and Windows may
    // refuse this box the foreground: "system modal" is application-modal
    // with WS_EX_TOPMOST, so the box stays in front of that window anyway.
    ShowBox(text, kProgramTitle, MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL | MB_SETFOREGROUND);
}

bool WindowsPlatform::FileExists(std::wstring_view path) { return tolvarine::FileExists(path); }

bool FileExists(std::wstring_view path) {
    const DWORD attributes = ::GetFileAttributesW(Terminated(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::wstring> WindowsPlatform::ReadableFolder(std::wstring_view path) {
    const auto folder = FullFolderPath(path);
    if (!folder) return std::nullopt;
    // Listing rights, as a program that lies in the folder would need them.
    const DWORD attributes = ::GetFileAttributesW(folder->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
    const UniqueFileHandle listing(::CreateFileW(folder->c_str(), FILE_LIST_DIRECTORY,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!listing) return std::nullopt;
    return folder;
}

std::optional<std::wstring> WindowsPlatform::FullFolderPath(std::wstring_view path) {
    const std::wstring given(path);
    const DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (given.empty() || size == 0) return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return std::nullopt;
    full.resize(length);
    // The form GetLauncherDirectory gives a program that lies in the folder.
    if (!full.ends_with(L'\\')) full += L'\\';
    return DirectoryOfModulePath(full + L"TolvarineLauncher.exe");
}

bool WindowsPlatform::IsServiceAccount() {
    HANDLE opened = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) ThrowLastError();
    const UniqueKernelHandle token(opened);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<std::byte> user(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) ThrowLastError();
    // A person signs in with a local or domain account (S-1-5-21-...) or a
    // Microsoft Entra one (S-1-12-...); SYSTEM (S-1-5-18), the local and
    // network services and the per-service accounts are none of these.
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    const BYTE* authority = ::GetSidIdentifierAuthority(sid)->Value;
    const bool firstFiveZero = authority[0] == 0 && authority[1] == 0 && authority[2] == 0 && authority[3] == 0 &&
                               authority[4] == 0;
    if (firstFiveZero && authority[5] == 12) return false;
    const bool localOrDomain = firstFiveZero && authority[5] == 5 && *::GetSidSubAuthorityCount(sid) > 0 &&
                               *::GetSidSubAuthority(sid, 0) == SECURITY_NT_NON_UNIQUE;
    return !localOrDomain;
}

std::wstring ReadRegistryText32(RegistryRoot root, std::wstring_view keyPath, std::wstring_view valueName) {
    const auto data = QueryRegistryValues(RootKey(root), keyPath, std::span(&valueName, 1), KEY_WOW64_32KEY);
    return ValueOf<std::wstring>(data[0]).value_or(std::wstring());
}

namespace {

std::wstring ShellFolder(int csidl) {
    wchar_t folder[MAX_PATH];
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return folder;
}

}  // namespace

std::wstring GetProgramFilesX86Directory() { return ShellFolder(CSIDL_PROGRAM_FILESX86); }

std::wstring WindowsPlatform::GetLocalAppDataDirectory() { return ShellFolder(CSIDL_LOCAL_APPDATA); }

std::uint32_t StartCommandLine(std::wstring_view commandLine, int showMode) {
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring mutableLine(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showMode);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        ThrowLastError();
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    return started.dwProcessId;
}

std::wstring WindowsPlatform::DescribeError(std::uint32_t code) { return SystemErrorText(code); }

void ReportFatalError(std::uint32_t code, std::wstring_view description) {
    const std::wstring text = L"Error " + std::to_wstring(code) + L": " + std::wstring(description);
    ShowBox(text, kProgramTitle, MB_OK | MB_ICONERROR | MB_APPLMODAL);
}

}  // namespace tolvarine
