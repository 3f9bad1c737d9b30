// TolvarineLauncher.exe: runs the launch sequence once. The command line is
// not read. An Error that ends the run is reported here, and only here.
#include <windows.h>

#include "launcher/module1.h"
#include "platform/error.h"
#include "platform/process_hardening.h"
#include "platform/windows_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tolvarine;
    HardenProcess();
    try {
        WindowsPlatform platform;
        return static_cast<int>(LaunchMain(platform));
    } catch (const Error& error) {
        ReportFatalError(error.code(), error.description());
        return kExitCodeError;
    }
}
