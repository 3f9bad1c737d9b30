#include "launch_plan/launch_plan.h"

#include "launch_plan/shell_error_text.h"
#include "platform/module_directory.h"
#include "platform/overloaded.h"

namespace tolvarine {

LaunchPlan PlanLaunch(SystemReads& reads, std::wstring_view launcherDirectory) {
    LaunchPlan plan;
    // The suffix is appended as it is: at a drive root this gives "Q:\\Tolvarine.mde".
    plan.databasePath = std::wstring(launcherDirectory) + std::wstring(kDatabaseFileSuffix);
    plan.handler = FindDatabaseHandler(reads);
    // The shell names a command's program whether or not it is there. Only
    // a full path is known to be missing: a name alone the shell looks for
    // as it runs it, and one installed on first use comes with the open.
    if (plan.handler.answer == AssociatedProgram::Answer::Program && !plan.handler.installedOnFirstUse &&
        IsFullPath(plan.handler.path) && !reads.FileExists(plan.handler.path)) {
        plan.course = StopBeforeLowering{{LaunchOutcome::OpenFailed,
                                          std::wstring(ShellErrorText(kShellAssociationIncomplete)) +
                                              L": the program that opens .mde files is missing: " + plan.handler.path,
                                          AccessInstallAdvice() + L" again, or repair it, so that it opens .mde files."}};
        return plan;
    }
    plan.access = DatabaseAccessOf(reads, plan.handler);
    if (plan.access && IsOtherEdition(*plan.access))
        plan.course = StopBeforeLowering{{LaunchOutcome::OtherAccessEdition, OtherEditionText(*plan.access), {}}};
    else if (const auto version = TrustCenterVersion(plan.access))
        plan.course = TrustCenterCourse{*version, JudgeFolderTrust(reads, *version, launcherDirectory)};
    else if (plan.handler.answer != AssociatedProgram::Answer::NoProgram)
        plan.course = AccessLevelCourse{EnforcedAccessLevel(reads)};
    else {
        // The shell would fail the open, or on Windows 8 and later show its
        // picker, while the level waits low for a window that never comes.
        // The level a policy holds is read all the same, for the check to
        // report to IT before Access is installed.
        static_cast<void>(EnforcedAccessLevel(reads));
        plan.course = StopBeforeLowering{{LaunchOutcome::OpenFailed, std::wstring(ShellErrorText(kShellNoAssociation)),
                                          L"no program opens .mde files. " + AccessInstallAdvice() + L"."}};
    }
    return plan;
}

std::optional<LaunchNotice> WarningOnceOpened(SystemReads& reads, const LaunchPlan& plan,
                                              std::wstring_view launcherDirectory, NoticeTime time) {
    using Warning = std::optional<LaunchNotice>;
    return std::visit(
        Overloaded{
            [](const StopBeforeLowering&) { return Warning(); },
            [&](const AccessLevelCourse& course) {
                if (!course.enforcedLevel || *course.enforcedLevel == kLowEnforcedLevel) return Warning();
                return Warning(LaunchNotice{LaunchOutcome::CodeMayNotRun,
                                            EnforcedLevelText(*course.enforcedLevel, time), {}});
            },
            [&](const TrustCenterCourse& course) {
                if (!IgnoresLauncherLocation(course.folder.trust)) return Warning();
                return Warning(LaunchNotice{LaunchOutcome::CodeMayNotRun,
                                            UntrustedFolderText(reads, course.folder, course.accessVersion,
                                                                launcherDirectory, time),
                                            {}});
            },
        },
        plan.course);
}

}  // namespace tolvarine
