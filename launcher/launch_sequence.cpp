// One run: level 1, open the database through the shell, wait for the
// application's window plus a second, level 2. Every way out of the run
// after the first write writes level 2 again, so the lowest level is never
// left in force by the launcher.
#include <string>

#include "launcher/module1.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kShellVerb = L"Open";
constexpr std::wstring_view kShellParameters = L"";
constexpr std::wstring_view kShellDirectory = L"C:\\";

// Polls as fast as the system allows, yielding the time slice between tries.
bool WaitForApplicationWindow(Platform& platform) {
    const std::uint32_t start = platform.GetTickCount();
    while (platform.FindWindowA(kApplicationWindowTitle) == 0) {
        if (platform.GetTickCount() - start >= kWindowWaitLimitMilliseconds) return false;
        platform.Sleep(0);
    }
    return true;
}

}  // namespace

LaunchOutcome LaunchMain(Platform& platform) {
    // The suffix is appended as it is: at a drive root this gives "Q:\\Tolvarine.mde".
    const std::wstring databasePath = platform.GetLauncherDirectory() + std::wstring(kDatabaseFileSuffix);

    SetAccessSecurityLevel(platform, kLowSecurityLevel);
    const WindowHandle owner = platform.GetDesktopWindow();
    const std::int32_t result =
        platform.ShellExecuteW(owner, kShellVerb, databasePath, kShellParameters, kShellDirectory, kShowNormal);

    if (result <= 32) {
        platform.ShowMessageBox(ShellErrorText(result));
        SetAccessSecurityLevel(platform, kMediumSecurityLevel);
        return LaunchOutcome::OpenFailed;
    }
    if (!WaitForApplicationWindow(platform)) {
        SetAccessSecurityLevel(platform, kMediumSecurityLevel);
        return LaunchOutcome::WindowNeverShown;
    }
    platform.Sleep(kSettleDelayMilliseconds);
    SetAccessSecurityLevel(platform, kMediumSecurityLevel);
    return LaunchOutcome::Opened;
}

}  // namespace tolvarine
