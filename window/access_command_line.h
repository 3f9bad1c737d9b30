// The command line that opens a database in Access 2003.
#pragma once

#include <string>
#include <string_view>

namespace tolvarine {

inline constexpr std::wstring_view kAccessExecutable = L"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE";

// The quoted executable, one space, the database path in quotes exactly as
// typed: not trimmed, not checked, embedded quotes left as they are.
std::wstring AccessCommandLine(std::wstring_view executable, std::wstring_view databasePath);

}  // namespace tolvarine
