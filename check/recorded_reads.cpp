#include "check/recorded_reads.h"

namespace tolvarine {

namespace {

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

std::vector<std::optional<RegistryData>> RecordedReads::ReadRegistryValues(
    RegistryRoot root, std::wstring_view keyPath, std::span<const std::wstring_view> valueNames) {
    auto values = real_.ReadRegistryValues(root, keyPath, valueNames);
    for (std::size_t i = 0; i < values.size(); ++i)
        AddFact(RootName(root) + std::wstring(keyPath) + L", value " + std::wstring(valueNames[i]) + L": " +
                Describe(values[i]));
    return values;
}

std::vector<std::wstring> RecordedReads::ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) {
    auto names = real_.ListRegistrySubkeys(root, keyPath);
    std::wstring fact = RootName(root) + std::wstring(keyPath) + L": ";
    if (names.empty()) fact += L"no subkeys";
    for (std::size_t i = 0; i < names.size(); ++i) (fact += i == 0 ? L"subkeys " : L", ") += names[i];
    AddFact(std::move(fact));
    return names;
}

bool RecordedReads::IsNetworkDrive(wchar_t driveLetter) {
    const bool network = real_.IsNetworkDrive(driveLetter);
    AddFact(std::wstring(L"Drive ") + driveLetter + L": (drive type): " +
            (network ? L"network drive" : L"not a network drive"));
    return network;
}

AssociatedProgram RecordedReads::FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) {
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

ProgramImage RecordedReads::ReadProgramImage(std::wstring_view path) {
    const ProgramImage image = real_.ReadProgramImage(path);
    AddFact(std::wstring(path) + L" (file header and version resource): " +
            (image.version ? L"version " + VersionText(*image.version) : L"no version") + L", " +
            MachineName(image.machine));
    return image;
}

bool RecordedReads::NoteLauncher(std::wstring_view path) {
    if (!FileExists(path)) return false;
    const auto version = real_.ReadProgramImage(path).version;
    AddFact(L"TolvarineLauncher.exe: " + (version ? L"version " + VersionText(*version) : L"no version"));
    return true;
}

bool RecordedReads::FileExists(std::wstring_view path) {
    const bool exists = real_.FileExists(path);
    AddFact(std::wstring(path) + L" (file): " + (exists ? L"present" : L"missing"));
    return exists;
}

std::optional<std::wstring> RecordedReads::ReadableFolder(std::wstring_view path) {
    auto folder = real_.ReadableFolder(path);
    if (folder) AddFact(L"Folder judged: " + *folder);
    return folder;
}

std::optional<std::wstring> RecordedReads::FullFolderPath(std::wstring_view path) {
    auto folder = real_.FullFolderPath(path);
    if (folder) AddFact(L"Folder judged, before the install (it need not exist yet): " + *folder);
    return folder;
}

std::wstring RecordedReads::GetLocalAppDataDirectory() {
    std::wstring folder = real_.GetLocalAppDataDirectory();
    AddFact(L"The user's local application data folder: " + (folder.empty() ? L"not known" : folder));
    return folder;
}

bool RecordedReads::IsServiceAccount() { return real_.IsServiceAccount(); }

std::wstring RecordedReads::GetLauncherDirectory() { return real_.GetLauncherDirectory(); }
std::wstring RecordedReads::UpperCase(std::wstring_view text) { return real_.UpperCase(text); }

}  // namespace tolvarine
