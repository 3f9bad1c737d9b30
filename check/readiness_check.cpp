#include "check/readiness_check.h"

#include "check/package_folder.h"
#include "check/recorded_reads.h"
#include "launch_plan/launch_plan.h"
#include "launch_plan/shell_error_text.h"
#include "launch_plan/trusted_location.h"
#include "platform/module_directory.h"
#include "platform/overloaded.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";
constexpr std::wstring_view kLauncherFileName = L"TolvarineLauncher.exe";

struct Verdict {
    LaunchOutcome outcome;
    std::wstring line;
};

// A box's text on one line: its paragraphs joined by a space.
std::wstring OneLine(std::wstring_view text) {
    std::wstring line;
    for (const wchar_t c : text) {
        if (c != L'\n') line += c;
        else if (!line.ends_with(L' ')) line += L' ';
    }
    return line;
}

Verdict NotReady(LaunchOutcome outcome, std::wstring_view reason) {
    return {outcome, L"not ready: " + OneLine(reason)};
}

Verdict NotReady(const LaunchNotice& notice) {
    return NotReady(notice.outcome, notice.advice.empty() ? notice.text : notice.text + L": " + notice.advice);
}

// Which of the settings that Office reads decided the Trust Center's
// course, with its value and who set it: the facts show every source read.
std::wstring DecisionFact(const FolderTrustJudgement& judgement) {
    const std::wstring source(SettingSourceName(judgement.source));
    if (judgement.trust == FolderTrust::TrustedByPolicy)
        return L"Decided by: the trusted location HKCU\\" + judgement.setting + L", set by " + source;
    return L"Decided by: \"" + judgement.setting + L"\": " +
           (judgement.value ? std::to_wstring(*judgement.value) + L", set by " + source
                            : std::wstring(L"not set, so Office's default"));
}

// The launcher's course in the folder, in its order: what it refuses before
// lowering anything, what the shell will not open, what it warns of once
// the application is open. Before the install there is no database to look for.
Verdict JudgeCourse(SystemReads& reads, const LaunchPlan& plan, std::wstring_view folder, bool beforeInstall) {
    const auto missingDatabase = [&]() -> std::optional<Verdict> {
        if (beforeInstall || reads.FileExists(plan.databasePath)) return std::nullopt;
        return NotReady(LaunchOutcome::OpenFailed, std::wstring(ShellErrorText(kShellFileNotFound)) + L": " +
                                                       plan.databasePath +
                                                       L" is missing. Install Tolvarine again, or run the check on "
                                                       L"the folder that holds Tolvarine.mde.");
    };
    const NoticeTime time = beforeInstall ? NoticeTime::BeforeInstall : NoticeTime::BeforeStart;
    const auto warning = [&]() -> std::optional<Verdict> {
        if (const auto notice = WarningOnceOpened(reads, plan, folder, time)) return NotReady(*notice);
        return std::nullopt;
    };
    const std::wstring opens = L"ready: " + (plan.access ? AccessName(*plan.access) : std::wstring()) +
                               L" opens .mde files; ";
    return std::visit(
        Overloaded{
            [&](const StopBeforeLowering& stop) { return NotReady(stop.notice); },
            [&](const AccessLevelCourse& course) {
                if (auto verdict = missingDatabase()) return *verdict;
                if (auto verdict = warning()) return *verdict;
                // The launcher leaves such a PC to the shell; the check cannot vouch for it.
                if (plan.handler.answer == AssociatedProgram::Answer::Unknown)
                    return NotReady(LaunchOutcome::OpenFailed,
                                    L"Windows did not say which program opens .mde files (the look-up of the file "
                                    L"association failed), so the check cannot tell whether Tolvarine will start. "
                                    L"Look at the .mde association (in cmd: assoc .mde, then ftype with the file "
                                    L"type it names) and run the check again.");
                if (!plan.access)
                    return Verdict{LaunchOutcome::Opened, L"ready: " + plan.handler.path +
                                                              L" opens .mde files (not Access); the launcher opens "
                                                              L"the application through it."};
                return Verdict{LaunchOutcome::Opened,
                               opens + (course.enforcedLevel
                                            ? L"a policy already holds its macro-security level at low (1), so the "
                                              L"launcher writes no level."
                                            : L"the launcher sets its macro-security level to low (1) while the "
                                              L"application starts, and back to medium (2).")};
            },
            [&](const TrustCenterCourse& course) {
                if (auto verdict = missingDatabase()) return *verdict;
                if (auto verdict = warning()) return *verdict;
                return Verdict{LaunchOutcome::Opened,
                               opens + (course.AddsTrustedLocation()
                                            ? L"the launcher makes this folder a trusted location for the seconds "
                                              L"the application starts: "
                                            : L"a trusted location set by policy already covers this folder: ") +
                                   TrustedLocationFolder(folder)};
            },
        },
        plan.course);
}

// After the install, the user's shortcut starts the launcher in the folder:
// without it nothing starts, whatever else holds.
Verdict Judge(RecordedReads& reader, std::wstring_view folder, bool beforeInstall) {
    const std::wstring launcher = TrustedLocationFolder(folder) + std::wstring(kLauncherFileName);
    if (!beforeInstall && !reader.NoteLauncher(launcher))
        return NotReady(LaunchOutcome::OpenFailed,
                        launcher + L" is missing, so the user's shortcut cannot start Tolvarine. Install Tolvarine "
                                   L"again, or run the check on the folder that holds the launcher.");
    const LaunchPlan plan = PlanLaunch(reader, folder);
    const Verdict verdict = JudgeCourse(reader, plan, folder, beforeInstall);
    if (const auto* course = std::get_if<TrustCenterCourse>(&plan.course)) reader.AddFact(DecisionFact(course->folder));
    return verdict;
}

}  // namespace

CheckReport RunCheck(SystemReads& system, std::span<const std::wstring> arguments) {
    const std::wstring usage = L"usage: TolvarineCheck.exe [--before-install] [folder]: ";
    const bool beforeInstall = !arguments.empty() && arguments[0] == kBeforeInstallOption;
    const auto folders = arguments.subspan(beforeInstall ? 1 : 0);
    if (folders.size() > 1)
        return {kCheckExitUsage, usage + L"one folder at most: the folder that holds the launcher and Tolvarine.mde "
                                         L"(by default the check's own), or with --before-install the folder the "
                                         L"package will install to (by default the package's own)." +
                                     std::wstring(kLineEnd)};
    // Relative to wherever a deployment tool happens to start the check, a
    // folder would name a different place on every PC.
    if (beforeInstall && !folders.empty() && !IsFullPath(folders[0]))
        return {kCheckExitUsage, usage + L"the folder \"" + folders[0] +
                                     L"\" is relative; name it in full (C:\\... or \\\\server\\share\\...)." +
                                     std::wstring(kLineEnd)};
    if (system.IsServiceAccount())
        return {kCheckExitServiceAccount,
                L"not judged: the check runs as SYSTEM or another service account, whose registry holds no user's "
                L"settings. Run it as the user who starts Tolvarine (Intune: run the script using the logged-on "
                L"credentials; Configuration Manager: run it as the logged-on user)." + std::wstring(kLineEnd)};
    RecordedReads reader(system);
    std::optional<std::wstring> folder;
    std::wstring given;
    if (beforeInstall) {
        given = folders.empty() ? PackageInstallFolder(reader) : folders[0];
        folder = reader.FullFolderPath(given);
    } else {
        given = folders.empty() ? system.GetLauncherDirectory() : folders[0];
        folder = reader.ReadableFolder(given);
    }
    if (!folder)
        return {kCheckExitUsage, usage +
                                     (given.empty() ? L"cannot tell the folder the package will install to; name it."
                                                    : L"cannot read the folder \"" + given + L"\".") +
                                     std::wstring(kLineEnd)};

    const Verdict verdict = Judge(reader, *folder, beforeInstall);
    std::wstring text = verdict.line + std::wstring(kLineEnd) + L"What the check read:" + std::wstring(kLineEnd);
    for (const std::wstring& fact : reader.facts()) ((text += L"  ") += fact) += kLineEnd;
    (text += verdict.line) += kLineEnd;
    return {static_cast<int>(verdict.outcome), text};
}

}  // namespace tolvarine
