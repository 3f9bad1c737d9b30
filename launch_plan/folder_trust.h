// Whether Access 2007 or later would honour a trusted location for the
// launcher's folder, read (never written) from the Trust Center's policies
// and the user's own Trust Center settings before anything is lowered, in
// Office's order: the Cloud Policy service's, then Group Policy's, then the
// user's own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "launch_plan/notice_time.h"
#include "platform/system_reads.h"

namespace tolvarine {

enum class FolderTrust {
    NeedsLocation,            // the launcher's own trusted location would be honoured
    TrustedByPolicy,          // a location set by policy already covers the folder
    AllLocationsDisabled,     // by policy: Access trusts no location at all
    AllLocationsDisabledByUser,  // the same, by the user's Trust Center check box
    NetworkNotAllowed,        // the folder is on the network, where Access trusts no location
    UserLocationsNotAllowed,  // Access ignores every location that policy did not set
};

// Who set a setting that Office acts on.
enum class SettingSource { OfficeDefault, User, GroupPolicy, CloudPolicy };

// "Group Policy", "the Cloud Policy service", ...
std::wstring_view SettingSourceName(SettingSource source);

struct FolderTrustJudgement {
    FolderTrust trust = FolderTrust::NeedsLocation;
    // The setting that decided it, by the name an administrator finds it
    // under (for a location set by policy, its key), its value (nothing:
    // not set, so Office's default holds) and who set it.
    std::wstring setting;
    std::optional<std::uint32_t> value;
    SettingSource source = SettingSource::OfficeDefault;
};

// What Access `accessVersion` (12 or later) would make of the folder.
FolderTrustJudgement JudgeFolderTrust(SystemReads& reads, std::uint16_t accessVersion,
                                      std::wstring_view launcherDirectory);

// True for the courses in which Access would ignore a location the launcher added.
bool IgnoresLauncherLocation(FolderTrust trust);

// The box shown once the application is open on such a course (or the
// check's words before an install): that its code may not run, why, who
// set what, and the fix that helps with that cause, with the folder
// spelled out where the fix is a location set by policy.
std::wstring UntrustedFolderText(SystemReads& reads, const FolderTrustJudgement& judgement,
                                 std::uint16_t accessVersion, std::wstring_view launcherDirectory, NoticeTime time);

}  // namespace tolvarine
