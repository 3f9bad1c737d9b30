#include "launch_plan/launch_plan.h"

#include "launch_plan/shell_error_text.h"
#include "platform/module_directory.h"

namespace tolvarine {

LaunchPlan PlanLaunch(SystemReads& reads, std::wstring_view launcherDirectory) {
    LaunchPlan plan;
    // The suffix is appended as it is: at a drive root this gives "Q:\\Tolvarine.mde".
    plan.databasePath = std::wstring(launcherDirectory) + std::wstring(kDatabaseFileSuffix);
    plan.handler = FindDatabaseHandler(reads);
    // The shell names a command's program whether or not it is there. Only
    // a full path is known to be missing: a name alone the shell looks for
    // as it runs it, and one installed on first use comes with the open.
    plan.handlerMissing = plan.handler.answer == AssociatedProgram::Answer::Program &&
                          !plan.handler.installedOnFirstUse && IsFullPath(plan.handler.path) &&
                          !reads.FileExists(plan.handler.path);
    if (plan.handlerMissing) return plan;
    plan.access = DatabaseAccessOf(reads, plan.handler);
    if (plan.access && IsOtherEdition(*plan.access)) return plan;
    plan.trustCenterVersion = TrustCenterVersion(plan.access);
    if (plan.trustCenterVersion)
        plan.folderTrust = JudgeFolderTrust(reads, *plan.trustCenterVersion, launcherDirectory);
    else
        plan.enforcedLevel = EnforcedAccessLevel(reads);
    return plan;
}

std::optional<LaunchNotice> StopBeforeLowering(const LaunchPlan& plan) {
    // The shell would fail the open, or on Windows 8 and later show its
    // picker, while the level waits low for a window that never comes.
    const std::wstring install = L"Install the " + std::wstring(ApplicationEdition()) +
                                 L" edition of Microsoft Access or of the free Access Runtime";
    if (plan.handler.answer == AssociatedProgram::Answer::NoProgram)
        return LaunchNotice{LaunchOutcome::OpenFailed, std::wstring(ShellErrorText(kShellNoAssociation)),
                            L"no program opens .mde files. " + install + L"."};
    if (plan.handlerMissing)
        return LaunchNotice{LaunchOutcome::OpenFailed,
                            std::wstring(ShellErrorText(kShellAssociationIncomplete)) +
                                L": the program that opens .mde files is missing: " + plan.handler.path,
                            install + L" again, or repair it, so that it opens .mde files."};
    if (!plan.access || !IsOtherEdition(*plan.access)) return std::nullopt;
    return LaunchNotice{LaunchOutcome::OtherAccessEdition, OtherEditionText(*plan.access), {}};
}

std::optional<LaunchNotice> WarningOnceOpened(SystemReads& reads, const LaunchPlan& plan,
                                              std::wstring_view launcherDirectory, NoticeTime time) {
    if (plan.trustCenterVersion && IgnoresLauncherLocation(plan.folderTrust.trust))
        return LaunchNotice{LaunchOutcome::CodeMayNotRun,
                            UntrustedFolderText(reads, plan.folderTrust, *plan.trustCenterVersion,
                                                launcherDirectory, time),
                            {}};
    if (plan.enforcedLevel && *plan.enforcedLevel != kLowEnforcedLevel)
        return LaunchNotice{LaunchOutcome::CodeMayNotRun, EnforcedLevelText(*plan.enforcedLevel, time), {}};
    return std::nullopt;
}

}  // namespace tolvarine
