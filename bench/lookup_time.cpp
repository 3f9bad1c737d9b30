// Times the launcher's look-up before level 1, in a fresh process as the
// launcher makes it: which program opens ".mde" files and, for Access, its
// version and machine, and for Access 2007 or later what its Trust Center's
// policies and settings make of the folder. Prints "<milliseconds> <Access
// version, or 0>".
#include <windows.h>

#include <cstdio>

#include "launch_plan/launch_plan.h"
#include "platform/program_entry.h"

int wmain() {
    return tolvarine::RunProgram([](tolvarine::WindowsPlatform& platform) {
        LARGE_INTEGER frequency, start, end;
        ::QueryPerformanceFrequency(&frequency);
        const std::wstring folder = platform.GetLauncherDirectory();
        ::QueryPerformanceCounter(&start);
        const auto plan = tolvarine::PlanLaunch(platform, folder);
        const auto& access = plan.access;
        ::QueryPerformanceCounter(&end);
        std::printf("%.3f %u\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart,
                    static_cast<unsigned>(access ? access->version.value_or(0) : 0));
        return 0;
    });
}
