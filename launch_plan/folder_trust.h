// Whether Access 2007 or later would honour a trusted location for the
// launcher's folder, read (never written) from the Trust Center's policies
// and the user's own Trust Center settings before anything is lowered.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tolvarine {

enum class FolderTrust {
    NeedsLocation,            // the launcher's own trusted location would be honoured
    TrustedByPolicy,          // a location set by policy already covers the folder
    AllLocationsDisabled,     // by policy: Access trusts no location at all
    AllLocationsDisabledByUser,  // the same, by the user's Trust Center check box
    NetworkNotAllowed,        // the folder is on the network, where Access trusts no location
    UserLocationsNotAllowed,  // Access ignores every location that policy did not set
};

// What Access `accessVersion` (12 or later) would make of the folder.
FolderTrust JudgeFolderTrust(Platform& platform, std::uint16_t accessVersion, std::wstring_view launcherDirectory);

// True for the courses in which Access would ignore a location the launcher added.
bool IgnoresLauncherLocation(FolderTrust trust);

// The box shown once the application is open on such a course: that its
// code may not run, why, and what to do, with the folder spelled out.
std::wstring UntrustedFolderText(FolderTrust trust, std::uint16_t accessVersion, std::wstring_view launcherDirectory);

}  // namespace tolvarine
