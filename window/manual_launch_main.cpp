// ManualLaunch.exe: shows Form1 until it is closed. An Error that ends the
// program is reported here, and only here.
#include <windows.h>

#include "platform/error.h"
#include "platform/process_hardening.h"
#include "platform/windows_platform.h"
#include "window/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace tolvarine;
    HardenProcess();
    try {
        WindowsPlatform platform;
        Form1 form(platform, instance);
        form.Show(showCommand);
        return form.RunMessageLoop();
    } catch (const Error& error) {
        ReportFatalError(error.code(), error.description());
        return kExitCodeError;
    }
}
