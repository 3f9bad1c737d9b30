// The real system: each read or action is one Win32 call, or a few. Also
// the calls that only Form1 makes, as plain functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/launcher_actions.h"
#include "platform/system_reads.h"

namespace tolvarine {

// The caption of every message box the program shows. It must never equal
// the title the launcher waits for.
inline constexpr std::wstring_view kProgramTitle = L"Tolvarine Launcher";

class WindowsPlatform final : public SystemReads, public LauncherActions {
public:
    WindowsPlatform();
    ~WindowsPlatform() override;
    WindowsPlatform(const WindowsPlatform&) = delete;
    WindowsPlatform& operator=(const WindowsPlatform&) = delete;

    std::string ToAnsi(std::wstring_view text) override;
    long RegCreateKeyA(RegistryRoot root, std::wstring_view subKey, KeyHandle& key) override;
    long RegSetValueExA(KeyHandle key, std::wstring_view valueName, std::uint32_t type,
                        std::span<const std::byte> data) override;
    long RegCloseKey(KeyHandle key) override;
    long WriteVolatileRegistryKey(RegistryRoot root, std::wstring_view parentPath, std::wstring_view keyName,
                                  std::span<const RegistryEntry> values) override;
    long DeleteRegistryKey(RegistryRoot root, std::wstring_view keyPath) override;
    std::vector<std::optional<RegistryData>> ReadRegistryValues(RegistryRoot root, std::wstring_view keyPath,
                                                                std::span<const std::wstring_view> valueNames) override;
    std::vector<std::wstring> ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) override;
    bool IsNetworkDrive(wchar_t driveLetter) override;
    std::wstring UpperCase(std::wstring_view text) override;
    AssociatedProgram FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) override;
    ProgramImage ReadProgramImage(std::wstring_view path) override;
    WindowHandle GetDesktopWindow() override;
    std::int32_t ShellExecuteW(WindowHandle owner, std::wstring_view verb, std::wstring_view file,
                               std::wstring_view parameters, std::wstring_view directory,
                               int showCommand) override;
    WindowHandle FindWindowExA(WindowHandle after, std::wstring_view title) override;
    std::wstring GetClassNameW(WindowHandle window) override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t GetTickCount() override;
    std::wstring GetLauncherDirectory() override;
    void ShowMessageBox(std::wstring_view text) override;
    void ShowWarningOnTop(std::wstring_view text) override;
    bool FileExists(std::wstring_view path) override;
    std::optional<std::wstring> ReadableFolder(std::wstring_view path) override;
    std::optional<std::wstring> FullFolderPath(std::wstring_view path) override;
    std::wstring GetLocalAppDataDirectory() override;
    bool IsServiceAccount() override;
    std::wstring DescribeError(std::uint32_t code) override;

private:
    bool comInitialized_ = false;
};

// True when a file (not a folder) exists at this path.
bool FileExists(std::wstring_view path);

// A text value from the 32-bit view of the registry, where 32-bit programs
// register themselves; empty when the key or value is missing or holds no text.
std::wstring ReadRegistryText32(RegistryRoot root, std::wstring_view keyPath, std::wstring_view valueName);

// The system's folder for 32-bit programs ("Program Files (x86)" on 64-bit
// Windows); empty when the system does not say.
std::wstring GetProgramFilesX86Directory();

// Starts a process without waiting for it; returns its identifier.
// Raises Error on failure.
std::uint32_t StartCommandLine(std::wstring_view commandLine, int showMode);

// The entry points' one report of an error that ended the program.
void ReportFatalError(std::uint32_t code, std::wstring_view description);

}  // namespace tolvarine
