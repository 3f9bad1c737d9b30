// What the launch plan and the check read of the system, behind one
// interface, so that the decisions run unchanged against a fake in tests
// and the check's record of what it read wraps these calls alone. Nothing
// here writes, opens, waits or shows. Text is UTF-16.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/registry_root.h"

namespace tolvarine {

// The machine a program image is built for, as its PE header names it.
inline constexpr std::uint16_t kMachineX86 = 0x014c;
inline constexpr std::uint16_t kMachineX64 = 0x8664;
inline constexpr std::uint16_t kMachineArm64 = 0xaa64;

// A file version, major.minor.build.revision, as a version resource gives it.
struct FileVersion {
    std::uint16_t major = 0, minor = 0, build = 0, revision = 0;
    bool operator==(const FileVersion&) const = default;
};

// What a program's file says of itself, read without running any of it.
struct ProgramImage {
    std::optional<std::uint16_t> machine;   // nothing when the header cannot be read
    std::optional<FileVersion> version;     // of the file, from its version resource
    bool operator==(const ProgramImage&) const = default;
};

// The shell's answer to which program opens a kind of file.
struct AssociatedProgram {
    enum class Answer {
        Unknown,    // the look-up failed for another reason; the shell may still find one
        NoProgram,  // the shell knows no program for it (Windows' catch-all picker not counted)
        Program,    // `path` names it
    };
    Answer answer = Answer::Unknown;
    // Full, or a name alone that the shell looks for through App Paths and
    // the search path.
    std::wstring path;
    // The command carries Windows Installer's descriptor beside it (an
    // Office 2003 to 2010 feature installed on first use): the shell
    // installs the program on the first open, so its file may not be there yet.
    bool installedOnFirstUse = false;
    bool operator==(const AssociatedProgram&) const = default;
};

// A value as read from the registry: a REG_DWORD number, or the text of a
// REG_SZ or REG_EXPAND_SZ value, the latter with its environment variables
// expanded.
using RegistryData = std::variant<std::uint32_t, std::wstring>;

class SystemReads {
public:
    virtual ~SystemReads() = default;

    // Values of one key of the registry's own view, in the order of the
    // names, the key opened once; names are matched as Windows matches them,
    // case ignored. Each is nothing when the key or value is missing, cannot
    // be read, or holds another type.
    virtual std::vector<std::optional<RegistryData>> ReadRegistryValues(
        RegistryRoot root, std::wstring_view keyPath, std::span<const std::wstring_view> valueNames) = 0;
    // The names of a key's subkeys; none when the key cannot be read.
    virtual std::vector<std::wstring> ListRegistrySubkeys(RegistryRoot root, std::wstring_view keyPath) = 0;

    // True when Windows reports the drive with this letter as a network drive.
    virtual bool IsNetworkDrive(wchar_t driveLetter) = 0;

    // The text in capitals, as Windows folds file names to compare them.
    virtual std::wstring UpperCase(std::wstring_view text) = 0;

    // The program that the shell runs for the verb on files with this
    // extension, as the shell resolves it.
    virtual AssociatedProgram FindAssociatedExecutable(std::wstring_view extension, std::wstring_view verb) = 0;

    // The machine and the file version a program's file names; each is
    // nothing when the file does not say or cannot be read.
    virtual ProgramImage ReadProgramImage(std::wstring_view path) = 0;

    // True when a file (not a folder) exists at this path.
    virtual bool FileExists(std::wstring_view path) = 0;

    // The user's local application data folder (%LOCALAPPDATA%), under whose
    // "Programs" per-user packages install; empty when the system does not say.
    virtual std::wstring GetLocalAppDataDirectory() = 0;

    // Folder of the running executable: no trailing backslash except at a drive root.
    // Raises Error on failure.
    virtual std::wstring GetLauncherDirectory() = 0;

    // The folder's full path in the launcher directory's form (no trailing
    // backslash except at a drive root); nothing when it is not a folder
    // that this process can list.
    virtual std::optional<std::wstring> ReadableFolder(std::wstring_view path) = 0;

    // The same form of a folder's full path whether or not the folder
    // exists; nothing when the path cannot name a folder.
    virtual std::optional<std::wstring> FullFolderPath(std::wstring_view path) = 0;

    // True when the process runs as SYSTEM or another service account,
    // whose registry holds no user's settings.
    virtual bool IsServiceAccount() = 0;
};

// A value read as this type (std::uint32_t or std::wstring); nothing when
// it was not read or holds the other type.
template <typename T>
std::optional<T> ValueOf(const std::optional<RegistryData>& data) {
    const T* typed = data ? std::get_if<T>(&*data) : nullptr;
    return typed ? std::optional<T>(*typed) : std::nullopt;
}

// One value of this type from one key; nothing when the key or value is
// missing, cannot be read, or holds another type.
template <typename T>
std::optional<T> ReadRegistryValue(SystemReads& reads, RegistryRoot root, std::wstring_view keyPath,
                                   std::wstring_view valueName) {
    return ValueOf<T>(reads.ReadRegistryValues(root, keyPath, std::span(&valueName, 1))[0]);
}

}  // namespace tolvarine
