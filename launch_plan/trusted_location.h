// Access 2007 and every later Access decide whether a database may run its
// macros by their Trust Center, not by the Access 2003 level: for them the
// launcher's folder is one of their trusted locations while the application
// starts. The launcher adds it (launcher/lowered_settings.h); the check
// names it.
#pragma once

#include <string>
#include <string_view>

namespace tolvarine {

// The folder as a trusted location names it: with a trailing backslash.
std::wstring TrustedLocationFolder(std::wstring_view launcherDirectory);

}  // namespace tolvarine
