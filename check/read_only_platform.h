// The platform as the check sees it: every read passes through to the real
// one and is noted as a fact, in words, with where it was read; every
// write, open, start or box is refused with an Error, so that the check
// can change nothing even by mistake.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tolvarine {

class ReadOnlyPlatform final : public Platform {
public:
    explicit ReadOnlyPlatform(Platform& real) : real_(real) {}

    // What was read, a line each, in the order it was read.
    const std::vector<std::wstring>& facts() const noexcept { return facts_; }
    // A fact the check itself concludes from what it read.
    void AddFact(std::wstring fact) { facts_.push_back(std::move(fact)); }

    // Whether the launcher is at this path and, for IT's inventory, its
    // version, as the fact "TolvarineLauncher.exe: version 1.4.0".
    bool NoteLauncher(std::wstring_view path);

    std::vector<std::optional<RegistryData>> ReadRegistryValues(RegistryRoot root, std::wstring_view keyPath,
                                                                std::span<const std::wstring_view> valueNames) override;
    std::vector<std::wstring> ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) override;
    bool IsNetworkDrive(wchar_t driveLetter) override;
    AssociatedProgram FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) override;
    ProgramImage ReadProgramImage(std::wstring_view path) override;
    bool FileExists(std::wstring_view path) override;
    std::optional<std::wstring> ReadableFolder(std::wstring_view path) override;
    std::optional<std::wstring> FullFolderPath(std::wstring_view path) override;
    std::wstring GetLocalAppDataDirectory() override;
    bool IsServiceAccount() override;
    std::wstring ReadRegistryText32(RegistryRoot root, std::wstring_view keyPath,
                                    std::wstring_view valueName) override;
    std::wstring GetProgramFilesX86Directory() override;
    std::wstring GetLauncherDirectory() override;
    // Pure computations, passed through unnoted.
    std::wstring UpperCase(std::wstring_view text) override;
    std::string ToAnsi(std::wstring_view text) override;
    std::uint32_t GetTickCount() override;
    std::wstring DescribeError(std::uint32_t code) override;

    // Refused.
    long RegCreateKeyA(RegistryRoot, std::wstring_view, KeyHandle&) override;
    long RegSetValueExA(KeyHandle, std::wstring_view, std::uint32_t, std::span<const std::byte>) override;
    long RegCloseKey(KeyHandle) override;
    long WriteVolatileRegistryKey(RegistryRoot, std::wstring_view, std::wstring_view,
                                  std::span<const RegistryEntry>) override;
    long DeleteRegistryKey(RegistryRoot, std::wstring_view) override;
    WindowHandle GetDesktopWindow() override;
    std::int32_t ShellExecuteW(WindowHandle, std::wstring_view, std::wstring_view, std::wstring_view,
                               std::wstring_view, int) override;
    WindowHandle FindWindowExA(WindowHandle, std::wstring_view) override;
    std::wstring GetClassNameW(WindowHandle) override;
    void Sleep(std::uint32_t) override;
    void ShowMessageBox(std::wstring_view) override;
    void ShowWarningOnTop(std::wstring_view) override;
    std::uint32_t StartCommandLine(std::wstring_view, int) override;

private:
    Platform& real_;
    std::vector<std::wstring> facts_;
};

}  // namespace tolvarine
