// The Windows services the launcher and the manual launch window use, behind
// one interface so that the logic runs unchanged against a fake in tests.
// Handles cross this seam as plain integers, text as UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tolvarine {

using RegistryRoot = std::uint32_t;
using KeyHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;

inline constexpr RegistryRoot kHkeyCurrentUser = 0x80000001u;
inline constexpr RegistryRoot kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr int kShowNormal = 1;

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

// A value written in UTF-16: a REG_DWORD number or REG_SZ text.
struct RegistryEntry {
    std::wstring_view name;
    std::variant<std::uint32_t, std::wstring_view> data;
};

// A value as read from the registry: a REG_DWORD number, or the text of a
// REG_SZ or REG_EXPAND_SZ value, the latter with its environment variables
// expanded.
using RegistryData = std::variant<std::uint32_t, std::wstring>;

class Platform {
public:
    virtual ~Platform() = default;

    // Text in the system ANSI code page, for data that must be stored as ANSI.
    virtual std::string ToAnsi(std::wstring_view text) = 0;

    // Registry calls return the system status; callers may ignore it.
    virtual long RegCreateKeyA(RegistryRoot root, std::wstring_view subKey, KeyHandle& key) = 0;
    virtual long RegSetValueExA(KeyHandle key, std::wstring_view valueName, std::uint32_t type,
                                std::span<const std::byte> data) = 0;
    virtual long RegCloseKey(KeyHandle key) = 0;

    // Creates the parent keys as ordinary keys and the key itself as a
    // volatile one, which Windows discards when it unloads the user's
    // registry at logoff, and writes the values, each on its own. Returns
    // the first failing status.
    virtual long WriteVolatileRegistryKey(RegistryRoot root, std::wstring_view parentPath, std::wstring_view keyName,
                                          std::span<const RegistryEntry> values) = 0;
    // Deletes one key that has no subkeys.
    virtual long DeleteRegistryKey(RegistryRoot root, std::wstring_view keyPath) = 0;

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

    virtual WindowHandle GetDesktopWindow() = 0;

    // The shell open, in UTF-16 so that no character of the path is lost to
    // the ANSI code page. Above 32 is success, anything else a failure code.
    virtual std::int32_t ShellExecuteW(WindowHandle owner, std::wstring_view verb, std::wstring_view file,
                                       std::wstring_view parameters, std::wstring_view directory,
                                       int showCommand) = 0;

    // The next top-level window after `after` (0: the first) whose whole
    // title is this, case ignored; 0 when there is none.
    virtual WindowHandle FindWindowExA(WindowHandle after, std::wstring_view title) = 0;

    // The name of the window's class; empty when the window is gone.
    virtual std::wstring GetClassNameW(WindowHandle window) = 0;

    virtual void Sleep(std::uint32_t milliseconds) = 0;

    // Milliseconds since an arbitrary start; wraps, so compare differences only.
    virtual std::uint32_t GetTickCount() = 0;

    // Folder of the running executable: no trailing backslash except at a drive root.
    // Raises Error on failure.
    virtual std::wstring GetLauncherDirectory() = 0;

    // Application-modal box, OK only, no icon, program title as caption.
    virtual void ShowMessageBox(std::wstring_view text) = 0;
    // The same with a warning icon, kept above every other window, so that
    // it is seen in front of a window that another program has just shown.
    virtual void ShowWarningOnTop(std::wstring_view text) = 0;

    // True when a file (not a folder) exists at this path.
    virtual bool FileExists(std::wstring_view path) = 0;

    // The folder's full path in the launcher directory's form (no trailing
    // backslash except at a drive root); nothing when it is not a folder
    // that this process can list.
    virtual std::optional<std::wstring> ReadableFolder(std::wstring_view path) = 0;

    // The same form of a folder's full path whether or not the folder
    // exists; nothing when the path cannot name a folder.
    virtual std::optional<std::wstring> FullFolderPath(std::wstring_view path) = 0;

    // The user's local application data folder (%LOCALAPPDATA%), under whose
    // "Programs" per-user packages install; empty when the system does not say.
    virtual std::wstring GetLocalAppDataDirectory() = 0;

    // True when the process runs as SYSTEM or another service account,
    // whose registry holds no user's settings.
    virtual bool IsServiceAccount() = 0;

    // A text value from the 32-bit view of the registry, where 32-bit
    // programs register themselves; empty when the key or value is missing
    // or holds no text.
    virtual std::wstring ReadRegistryText32(RegistryRoot root, std::wstring_view keyPath,
                                            std::wstring_view valueName) = 0;

    // The system's folder for 32-bit programs ("Program Files (x86)" on
    // 64-bit Windows); empty when the system does not say.
    virtual std::wstring GetProgramFilesX86Directory() = 0;

    // Starts a process without waiting for it; returns its identifier.
    // Raises Error on failure.
    virtual std::uint32_t StartCommandLine(std::wstring_view commandLine, int showMode) = 0;

    // The system's description of an error number.
    virtual std::wstring DescribeError(std::uint32_t code) = 0;
};

}  // namespace tolvarine
