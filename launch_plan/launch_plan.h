// What a launch in a folder will come to, decided from what the launcher
// reads before it lowers anything. The launcher acts on it; the check
// (TolvarineCheck.exe) reports it: one decision, so the two never disagree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

struct LaunchPlan {
    std::wstring databasePath;
    AssociatedProgram handler;                     // the program that opens ".mde" files
    bool handlerMissing = false;                   // that program's file is not there
    std::optional<DatabaseAccess> access;          // when that program is Access
    std::optional<std::uint16_t> trustCenterVersion;  // Access 2007 or later, whose Trust Center decides
    FolderTrustJudgement folderTrust;                 // what that Trust Center makes of the folder
    // Otherwise, Access 2003's level where a policy sets it.
    std::optional<std::uint32_t> enforcedLevel;

    // True when the launcher makes its folder a trusted location while the
    // application starts: never where Office would ignore it.
    bool AddsTrustedLocation() const {
        return trustCenterVersion && folderTrust.trust == FolderTrust::NeedsLocation;
    }
    // True when it writes Access 2003's level: not where a policy sets it,
    // which Access honours over the user's own.
    bool WritesLevel() const { return !enforcedLevel; }
    // True when it waits for the application's window: not where a policy
    // holds the level at high, or at one Access 2003 does not have, where an
    // unsigned database is refused and no window may come. Nothing is
    // written then, so nothing waits to be put back before the user is told.
    bool AwaitsWindow() const {
        return !enforcedLevel || *enforcedLevel == kLowEnforcedLevel || *enforcedLevel == kMediumEnforcedLevel;
    }
};

// Everything the launcher looks up before it lowers anything. The Trust
// Center is not read for an Access that cannot open the application.
LaunchPlan PlanLaunch(SystemReads& reads, std::wstring_view launcherDirectory);

// A box the launcher shows, and the exit code it then ends with.
struct LaunchNotice {
    LaunchOutcome outcome;
    std::wstring text;
    // What the check adds to the box's words for administrators, where the
    // box does not say what to do itself.
    std::wstring advice;
};

// The stop before anything is lowered: no program opens ".mde" files, the
// one that should is missing, or an Access of the other edition opens them.
std::optional<LaunchNotice> StopBeforeLowering(const LaunchPlan& plan);

// The warning once the application is open (or, in the check's words,
// before a start or an install): Access would ignore a trusted location for
// the folder, or a policy holds Access 2003's level above low, so the
// application's code may not run, or at high the application not open.
std::optional<LaunchNotice> WarningOnceOpened(SystemReads& reads, const LaunchPlan& plan,
                                              std::wstring_view launcherDirectory,
                                              NoticeTime time = NoticeTime::OnceOpened);

}  // namespace tolvarine
