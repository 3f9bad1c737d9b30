// ManualLaunch.exe: shows Form1 until it is closed.
#include <windows.h>

#include "platform/program_entry.h"
#include "window/form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace tolvarine;
    return RunProgram([&](WindowsPlatform&) {
        Form1 form(instance);
        form.Show(showCommand);
        return form.RunMessageLoop();
    });
}
