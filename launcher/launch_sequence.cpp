// One run: level 1, open the database through the shell, wait for the
// application's window plus a second, level 2. Where Access 2007 or later
// opens the database, its trusted location for the launcher's folder is
// added with level 1 and removed with level 2. Every way out of the run
// after the first write, an error included, goes through both restores
// before it shows or returns anything, so the launcher never leaves the
// lowered settings in force. Where no program opens ".mde" files, or only
// an Access that cannot open the application, nothing is lowered; an Access
// whose Trust Center would ignore the location gets none, and a level that
// policy sets is not written: at high, the user is told as soon as the
// shell has opened the database, since Access refuses an unsigned one and
// no window may come.
#include <string>
#include <utility>

#include "launch_plan/launch_plan.h"
#include "launch_plan/shell_error_text.h"
#include "launcher/lowered_settings.h"
#include "launcher/module1.h"
#include "platform/ascii_case.h"
#include "platform/overloaded.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kShellVerb = L"Open";
constexpr std::wstring_view kShellParameters = L"";
constexpr std::wstring_view kShellDirectory = L"C:\\";

// A Windows Explorer window shows the folder's name as its title, and the
// launcher's own folder is usually named "Tolvarine": such a window is not
// the application's. Class names are compared as Windows does, case ignored.
bool IsShellFolderWindow(LauncherActions& actions, WindowHandle window) {
    const std::wstring className = actions.GetClassNameW(window);
    return EqualsIgnoringAsciiCase(className, L"CabinetWClass") || EqualsIgnoringAsciiCase(className, L"ExploreWClass");
}

// Every window with the title is looked at, not only the first one found.
bool ApplicationWindowExists(LauncherActions& actions) {
    WindowHandle window = 0;
    while ((window = actions.FindWindowExA(window, kApplicationWindowTitle)) != 0)
        if (!IsShellFolderWindow(actions, window)) return true;
    return false;
}

// Polls as fast as the system allows, yielding the time slice between tries.
bool WaitForApplicationWindow(LauncherActions& actions) {
    const std::uint32_t start = actions.GetTickCount();
    while (!ApplicationWindowExists(actions)) {
        if (actions.GetTickCount() - start >= kWindowWaitLimitMilliseconds) return false;
        actions.Sleep(0);
    }
    return true;
}

// Opens the database and, once it opens, waits for the application's
// window plus the settle delay, where a window may come. Gives the
// shell's result and the outcome.
std::pair<std::int32_t, LaunchOutcome> OpenDatabase(LauncherActions& actions, const LaunchPlan& plan,
                                                    bool awaitsWindow) {
    const WindowHandle owner = actions.GetDesktopWindow();
    const std::int32_t result =
        actions.ShellExecuteW(owner, kShellVerb, plan.databasePath, kShellParameters, kShellDirectory, kShowNormal);
    if (result <= 32) return {result, LaunchOutcome::OpenFailed};
    if (!awaitsWindow) return {result, LaunchOutcome::Opened};
    if (!WaitForApplicationWindow(actions)) return {result, LaunchOutcome::WindowNeverShown};
    actions.Sleep(kSettleDelayMilliseconds);
    return {result, LaunchOutcome::Opened};
}

// The run once the course lowers something: lower, open, put back, and
// only then tell the user.
LaunchOutcome LowerAndOpen(SystemReads& reads, LauncherActions& actions, const LaunchPlan& plan,
                           std::wstring_view launcherDirectory, Lowering what, bool awaitsWindow) {
    LoweredSettings lowered(actions, what);
    lowered.Lower(launcherDirectory);
    const auto [shellResult, outcome] = OpenDatabase(actions, plan, awaitsWindow);
    lowered.Restore();
    // Named only now: the box may wait for the user for hours, and nothing
    // is being opened that needs the lowered settings.
    if (outcome == LaunchOutcome::OpenFailed) actions.ShowMessageBox(ShellErrorText(shellResult));
    if (outcome == LaunchOutcome::Opened) {
        if (const auto warning = WarningOnceOpened(reads, plan, launcherDirectory)) {
            actions.ShowWarningOnTop(warning->text);
            return warning->outcome;
        }
    }
    return outcome;
}

}  // namespace

LaunchOutcome LaunchMain(SystemReads& reads, LauncherActions& actions) {
    const std::wstring launcherDirectory = reads.GetLauncherDirectory();
    // Looked up before anything is lowered, so that it adds nothing to the
    // time the lowered settings are in force.
    const LaunchPlan plan = PlanLaunch(reads, launcherDirectory);
    return std::visit(
        Overloaded{
            [&](const StopBeforeLowering& stop) {
                // Lowering anything would only leave it lowered while nothing can open the file.
                actions.ShowMessageBox(stop.notice.text);
                return stop.notice.outcome;
            },
            [&](const AccessLevelCourse& course) {
                return LowerAndOpen(reads, actions, plan, launcherDirectory,
                                    {.trustedLocationFor = std::nullopt, .accessLevel = !course.enforcedLevel},
                                    course.AwaitsWindow());
            },
            [&](const TrustCenterCourse& course) {
                const Lowering what{
                    .trustedLocationFor = course.AddsTrustedLocation() ? std::optional(course.accessVersion)
                                                                       : std::nullopt,
                    .accessLevel = true};
                return LowerAndOpen(reads, actions, plan, launcherDirectory, what, true);
            },
        },
        plan.course);
}

}  // namespace tolvarine
