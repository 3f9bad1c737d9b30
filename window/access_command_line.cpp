#include "window/access_command_line.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kInstallRootKey = L"SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot";
constexpr std::wstring_view kOffice11UnderProgramFiles = L"Microsoft Office\\OFFICE11\\MSACCESS.EXE";

// The file's path under the folder when the folder is known and the file
// is there; otherwise empty.
std::wstring ExistingFile(Platform& platform, std::wstring folder, std::wstring_view name) {
    if (folder.empty()) return {};
    if (folder.back() != L'\\') folder += L'\\';
    std::wstring path = folder + std::wstring(name);
    return platform.FileExists(path) ? path : std::wstring();
}

}  // namespace

std::wstring FindAccessExecutable(Platform& platform) {
    if (platform.FileExists(kAccessExecutable)) return std::wstring(kAccessExecutable);
    const std::wstring installRoot = platform.ReadRegistryText32(kHkeyLocalMachine, kInstallRootKey, L"Path");
    if (std::wstring path = ExistingFile(platform, installRoot, L"MSACCESS.EXE"); !path.empty()) return path;
    const std::wstring programFiles = platform.GetProgramFilesX86Directory();
    if (std::wstring path = ExistingFile(platform, programFiles, kOffice11UnderProgramFiles); !path.empty())
        return path;
    return std::wstring(kAccessExecutable);
}

std::wstring AccessCommandLine(std::wstring_view executable, std::wstring_view databasePath) {
    std::wstring line;
    line.reserve(executable.size() + databasePath.size() + 5);
    line += L'"';
    line += executable;
    line += L"\" \"";
    line += databasePath;
    line += L'"';
    return line;
}

}  // namespace tolvarine
