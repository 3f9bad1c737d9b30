// What the launcher does to the system while the application starts:
// writes Access 2003's level and the trusted location and takes them back,
// opens the database through the shell, waits for the application's window
// by the clock, and shows its boxes. Behind one interface, so that the
// launch sequence runs unchanged against a fake that records each call.
// Handles cross this seam as plain integers, text as UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/registry_root.h"

namespace tolvarine {

using KeyHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;

inline constexpr int kShowNormal = 1;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// A value written in UTF-16: a REG_DWORD number or REG_SZ text.
struct RegistryEntry {
    std::wstring_view name;
    std::variant<std::uint32_t, std::wstring_view> data;
};

class LauncherActions {
public:
    virtual ~LauncherActions() = default;

    // Text in the system ANSI code page, for data that must be stored as ANSI.
    virtual std::string ToAnsi(std::wstring_view text) = 0;
    // The system's description of an error number.
    virtual std::wstring DescribeError(std::uint32_t code) = 0;

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

    // Application-modal box, OK only, no icon, program title as caption.
    virtual void ShowMessageBox(std::wstring_view text) = 0;
    // The same with a warning icon, kept above every other window, so that
    // it is seen in front of a window that another program has just shown.
    virtual void ShowWarningOnTop(std::wstring_view text) = 0;
};

}  // namespace tolvarine
