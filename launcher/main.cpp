// TolvarineLauncher.exe: runs the launch sequence once. The command line is
// not read.
#include <windows.h>

#include "launcher/module1.h"
#include "platform/program_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tolvarine;
    return RunProgram([](WindowsPlatform& system) { return static_cast<int>(LaunchMain(system, system)); });
}
