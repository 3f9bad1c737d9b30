// One run: level 1, open the database through the shell, wait for the
// application's window plus a second, level 2. Every way out of the run
// after the first write writes level 2 again, so the lowest level is never
// left in force by the launcher.
#include <algorithm>
#include <string>

#include "launcher/module1.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kShellVerb = L"Open";
constexpr std::wstring_view kShellParameters = L"";
constexpr std::wstring_view kShellDirectory = L"C:\\";

// A Windows Explorer window shows the folder's name as its title, and the
// launcher's own folder is usually named "Tolvarine": such a window is not
// the application's. Class names are compared as Windows does, case ignored.
bool IsShellFolderWindow(Platform& platform, WindowHandle window) {
    const std::wstring className = platform.GetClassNameW(window);
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    const auto named = [&](std::wstring_view name) {
        return std::ranges::equal(className, name, [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
    };
    return named(L"CabinetWClass") || named(L"ExploreWClass");
}

// Every window with the title is looked at, not only the first one found.
bool ApplicationWindowExists(Platform& platform) {
    WindowHandle window = 0;
    while ((window = platform.FindWindowExA(window, kApplicationWindowTitle)) != 0)
        if (!IsShellFolderWindow(platform, window)) return true;
    return false;
}

// Polls as fast as the system allows, yielding the time slice between tries.
bool WaitForApplicationWindow(Platform& platform) {
    const std::uint32_t start = platform.GetTickCount();
    while (!ApplicationWindowExists(platform)) {
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
