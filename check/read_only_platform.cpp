#include "check/read_only_platform.h"

#include "platform/error.h"

namespace tolvarine {

namespace {

constexpr std::uint32_t kErrorInvalidFunction = 1;

[[noreturn]] void Refuse(const wchar_t* what) {
    throw Error(kErrorInvalidFunction, std::wstring(L"The check only reads; it was asked to ") + what + L'.');
}

std::wstring RootName(RegistryRoot root) { return root == kHkeyLocalMachine ? L"HKLM\\" : L"HKCU\\"; }

std::wstring Describe(const std::optional<RegistryData>& data) {
    if (!data) return L"not set";
    if (const auto* number = std::get_if<std::uint32_t>(&*data)) return std::to_wstring(*number);
    return L'"' + std::get<std::wstring>(*data) + L'"';
}

// "1.4.0" for 1.4.0.0, as releases are numbered; "16.0.1.2" in full.
std::wstring VersionText(const FileVersion& version) {
    std::wstring text = std::to_wstring(version.major) + L'.' + std::to_wstring(version.minor) + L'.' +
                        std::to_wstring(version.build);
    return version.revision == 0 ? text : text + L'.' + std::to_wstring(version.revision);
}

std::wstring MachineName(std::optional<std::uint16_t> machine) {
    if (machine == kMachineX86) return L"x86 (32-bit)";
    if (machine == kMachineX64) return L"x64 (64-bit)";
    if (machine == kMachineArm64) return L"ARM64 (64-bit)";
    return machine ? L"another machine" : L"machine unreadable";
}

}  // namespace

std::vector<std::optional<RegistryData>> ReadOnlyPlatform::ReadRegistryValues(
    RegistryRoot root, std::wstring_view keyPath, std::span<const std::wstring_view> valueNames) {
    auto values = real_.ReadRegistryValues(root, keyPath, valueNames);
    for (std::size_t i = 0; i < values.size(); ++i)
        AddFact(RootName(root) + std::wstring(keyPath) + L", value " + std::wstring(valueNames[i]) + L": " +
                Describe(values[i]));
    return values;
}

std::vector<std::wstring> ReadOnlyPlatform::ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) {
    auto names = real_.ListRegistrySubkeys(root, keyPath);
    std::wstring fact = RootName(root) + std::wstring(keyPath) + L": ";
    if (names.empty()) fact += L"no subkeys";
    for (std::size_t i = 0; i < names.size(); ++i) (fact += i == 0 ? L"subkeys " : L", ") += names[i];
    AddFact(std::move(fact));
    return names;
}

bool ReadOnlyPlatform::IsNetworkDrive(wchar_t driveLetter) {
    const bool network = real_.IsNetworkDrive(driveLetter);
    AddFact(std::wstring(L"Drive ") + driveLetter + L": (drive type): " +
            (network ? L"network drive" : L"not a network drive"));
    return network;
}

AssociatedProgram ReadOnlyPlatform::FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) {
    AssociatedProgram program = real_.FindAssociatedExecutable(extension, verb);
    using Answer = AssociatedProgram::Answer;
    AddFact(L"Program that opens " + std::wstring(extension) + L" files (file association, verb \"" +
            std::wstring(verb) + L"\"): " +
            (program.answer == Answer::Program
                 ? program.path + (program.installedOnFirstUse ? L" (Windows Installer installs it on first use)" : L"")
             : program.answer == Answer::NoProgram ? std::wstring(L"none")
                                                   : std::wstring(L"not known (the look-up failed)")));
    return program;
}

ProgramImage ReadOnlyPlatform::ReadProgramImage(std::wstring_view path) {
    const ProgramImage image = real_.ReadProgramImage(path);
    AddFact(std::wstring(path) + L" (file header and version resource): " +
            (image.version ? L"version " + VersionText(*image.version) : L"no version") + L", " +
            MachineName(image.machine));
    return image;
}

bool ReadOnlyPlatform::NoteLauncher(std::wstring_view path) {
    if (!FileExists(path)) return false;
    const auto version = real_.ReadProgramImage(path).version;
    AddFact(L"TolvarineLauncher.exe: " + (version ? L"version " + VersionText(*version) : L"no version"));
    return true;
}

bool ReadOnlyPlatform::FileExists(std::wstring_view path) {
    const bool exists = real_.FileExists(path);
    AddFact(std::wstring(path) + L" (file): " + (exists ? L"present" : L"missing"));
    return exists;
}

std::optional<std::wstring> ReadOnlyPlatform::ReadableFolder(std::wstring_view path) {
    auto folder = real_.ReadableFolder(path);
    if (folder) AddFact(L"Folder judged: " + *folder);
    return folder;
}

std::optional<std::wstring> ReadOnlyPlatform::FullFolderPath(std::wstring_view path) {
    auto folder = real_.FullFolderPath(path);
    if (folder) AddFact(L"Folder judged, before the install (it need not exist yet): " + *folder);
    return folder;
}

std::wstring ReadOnlyPlatform::GetLocalAppDataDirectory() {
    std::wstring folder = real_.GetLocalAppDataDirectory();
    AddFact(L"The user's local application data folder: " + (folder.empty() ? L"not known" : folder));
    return folder;
}

bool ReadOnlyPlatform::IsServiceAccount() { return real_.IsServiceAccount(); }

std::wstring ReadOnlyPlatform::ReadRegistryText32(RegistryRoot root, std::wstring_view keyPath,
                                                  std::wstring_view valueName) {
    std::wstring text = real_.ReadRegistryText32(root, keyPath, valueName);
    AddFact(RootName(root) + std::wstring(keyPath) + L" (32-bit view), value " + std::wstring(valueName) + L": " +
            (text.empty() ? L"not set" : L'"' + text + L'"'));
    return text;
}

std::wstring ReadOnlyPlatform::GetProgramFilesX86Directory() { return real_.GetProgramFilesX86Directory(); }
std::wstring ReadOnlyPlatform::GetLauncherDirectory() { return real_.GetLauncherDirectory(); }
std::wstring ReadOnlyPlatform::UpperCase(std::wstring_view text) { return real_.UpperCase(text); }
std::string ReadOnlyPlatform::ToAnsi(std::wstring_view text) { return real_.ToAnsi(text); }
std::uint32_t ReadOnlyPlatform::GetTickCount() { return real_.GetTickCount(); }
std::wstring ReadOnlyPlatform::DescribeError(std::uint32_t code) { return real_.DescribeError(code); }

long ReadOnlyPlatform::RegCreateKeyA(RegistryRoot, std::wstring_view, KeyHandle&) { Refuse(L"create a registry key"); }
long ReadOnlyPlatform::RegSetValueExA(KeyHandle, std::wstring_view, std::uint32_t, std::span<const std::byte>) {
    Refuse(L"write a registry value");
}
long ReadOnlyPlatform::RegCloseKey(KeyHandle) { Refuse(L"close a registry key it cannot have opened"); }
long ReadOnlyPlatform::WriteVolatileRegistryKey(RegistryRoot, std::wstring_view, std::wstring_view,
                                                std::span<const RegistryEntry>) {
    Refuse(L"add a trusted location");
}
long ReadOnlyPlatform::DeleteRegistryKey(RegistryRoot, std::wstring_view) { Refuse(L"delete a registry key"); }
WindowHandle ReadOnlyPlatform::GetDesktopWindow() { Refuse(L"open a file"); }
std::int32_t ReadOnlyPlatform::ShellExecuteW(WindowHandle, std::wstring_view, std::wstring_view, std::wstring_view,
                                             std::wstring_view, int) {
    Refuse(L"open a file");
}
WindowHandle ReadOnlyPlatform::FindWindowExA(WindowHandle, std::wstring_view) { Refuse(L"wait for a window"); }
std::wstring ReadOnlyPlatform::GetClassNameW(WindowHandle) { Refuse(L"wait for a window"); }
void ReadOnlyPlatform::Sleep(std::uint32_t) { Refuse(L"wait"); }
void ReadOnlyPlatform::ShowMessageBox(std::wstring_view) { Refuse(L"show a message box"); }
void ReadOnlyPlatform::ShowWarningOnTop(std::wstring_view) { Refuse(L"show a message box"); }
std::uint32_t ReadOnlyPlatform::StartCommandLine(std::wstring_view, int) { Refuse(L"start a program"); }

}  // namespace tolvarine
