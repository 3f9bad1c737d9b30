// What a launch in a folder will come to, decided from what the launcher
// reads before it lowers anything. The launcher acts on it; the check
// (TolvarineCheck.exe) reports it: one decision, so the two never disagree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "launch_plan/database_access.h"
#include "launch_plan/enforced_level.h"
#include "launch_plan/folder_trust.h"
#include "launch_plan/notice_time.h"
#include "platform/system_reads.h"

namespace tolvarine {

// How a run ends; the value is the launcher's exit code, and the check's
// for the same course.
enum class LaunchOutcome : int {
    Opened = 0,              // the window appeared; level 2 written
    OpenFailed = 1,          // no program opens the database, or the shell could not: nothing left lowered, then named
    WindowNeverShown = 2,    // no window within the bound; level 2 written
    // 3 is a system error, which the program entry reports.
    OtherAccessEdition = 4,  // the Access here is built for another machine; nothing written or opened
    CodeMayNotRun = 5,       // opened, but Access trusts no location for the folder, or a policy holds
                             // Access 2003's level above low (at high, named as soon as the shell has
                             // opened the database: no window may come); settings restored, then named
};

inline constexpr std::wstring_view kDatabaseFileSuffix = L"\\Tolvarine.mde";

// Access 2003's levels below high (3), the only ones at which it opens a
// database that no trusted publisher signed.
inline constexpr std::uint32_t kLowEnforcedLevel = 1;
inline constexpr std::uint32_t kMediumEnforcedLevel = 2;

// A box the launcher shows, and the exit code it then ends with.
struct LaunchNotice {
    LaunchOutcome outcome;
    std::wstring text;
    // What the check adds to the box's words for administrators, where the
    // box does not say what to do itself.
    std::wstring advice;
};

// The courses a run can take; each carries what its course needs.

// Nothing is lowered: no program opens ".mde" files, the one that should
// is missing, or an Access of the other edition opens them. The launcher
// shows the notice and ends.
struct StopBeforeLowering {
    LaunchNotice notice;
};

// Access 2003's macro-security level decides: an Access 2003 or older, one
// whose version cannot be read, another program, or none the shell named.
struct AccessLevelCourse {
    // The level a policy holds, which Access honours over the user's own:
    // the launcher writes none then. Nothing: it writes low (1), then
    // medium (2).
    std::optional<std::uint32_t> enforcedLevel;

    // False where a policy holds the level at high, or at one Access 2003
    // does not have: an unsigned database is refused and no window may come.
    bool AwaitsWindow() const {
        return !enforcedLevel || *enforcedLevel == kLowEnforcedLevel || *enforcedLevel == kMediumEnforcedLevel;
    }
};

// Access 2007 or later, whose Trust Center decides: the launcher adds a
// trusted location for its folder where that Trust Center would honour it,
// and writes Access 2003's level as ever, for whatever else reads it.
struct TrustCenterCourse {
    std::uint16_t accessVersion;
    FolderTrustJudgement folder;

    bool AddsTrustedLocation() const { return folder.trust == FolderTrust::NeedsLocation; }
};

using LaunchCourse = std::variant<StopBeforeLowering, AccessLevelCourse, TrustCenterCourse>;

struct LaunchPlan {
    std::wstring databasePath;
    AssociatedProgram handler;             // the program that opens ".mde" files
    std::optional<DatabaseAccess> access;  // when that program is Access
    LaunchCourse course;
};

// Everything the launcher looks up before it lowers anything. The Trust
// Center is not read for an Access that cannot open the application.
LaunchPlan PlanLaunch(SystemReads& reads, std::wstring_view launcherDirectory);

// The warning once the application is open (or, in the check's words,
// before a start or an install): Access would ignore a trusted location for
// the folder, or a policy holds Access 2003's level above low, so the
// application's code may not run, or at high the application not open.
std::optional<LaunchNotice> WarningOnceOpened(SystemReads& reads, const LaunchPlan& plan,
                                              std::wstring_view launcherDirectory,
                                              NoticeTime time = NoticeTime::OnceOpened);

}  // namespace tolvarine
