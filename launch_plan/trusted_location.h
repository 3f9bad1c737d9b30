// Access 2007 and every later Access decide whether a database may run its
// macros by their Trust Center, not by the Access 2003 level: for them the
// launcher's folder is one of their trusted locations while the application
// starts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tolvarine {

// The folder as a trusted location names it: with a trailing backslash.
std::wstring TrustedLocationFolder(std::wstring_view launcherDirectory);

// Makes the launcher's folder, without its subfolders, a trusted location
// of that Access. Failures are not reported.
void AddTrustedLocation(Platform& platform, std::uint16_t accessVersion, std::wstring_view launcherDirectory);

// Deletes that trusted location, and nothing else. Failures are not reported.
void RemoveTrustedLocation(Platform& platform, std::uint16_t accessVersion);

}  // namespace tolvarine
