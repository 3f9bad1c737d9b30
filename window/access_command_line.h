// The command line that opens a database in Access 2003.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tolvarine {

inline constexpr std::wstring_view kAccessExecutable = L"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE";

// Where Access 2003 is, looked up afresh each time: its standard install
// path when the file is there; else MSACCESS.EXE in the folder Access 2003
// registered at install; else under the system's 32-bit Program Files
// folder, where 64-bit Windows installs it; else the standard path, so that
// starting it fails as it would have.
std::wstring FindAccessExecutable(Platform& platform);

// The quoted executable, one space, the database path in quotes exactly as
// typed: not trimmed, not checked, embedded quotes left as they are.
std::wstring AccessCommandLine(std::wstring_view executable, std::wstring_view databasePath);

}  // namespace tolvarine
