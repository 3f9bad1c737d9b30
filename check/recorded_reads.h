// The system as the check reads it: every read passes through to the real
// one and is noted as a fact, in words, with where it was read. The check
// holds nothing else of the system, so that it cannot write, open, wait or
// show anything.
#pragma once

#include <string>
#include <vector>

#include "platform/system_reads.h"

namespace tolvarine {

class RecordedReads final : public SystemReads {
public:
    explicit RecordedReads(SystemReads& real) : real_(real) {}

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
    // Passed through unnoted: the verdict or the usage line says what they gave.
    bool IsServiceAccount() override;
    std::wstring GetLauncherDirectory() override;
    std::wstring UpperCase(std::wstring_view text) override;

private:
    SystemReads& real_;
    std::vector<std::wstring> facts_;
};

}  // namespace tolvarine
