// TolvarineCheck.exe [folder]: says, changing nothing, whether the launcher
// in that folder (by default the check's own) will work for the user who
// runs it, and exits with the code the launcher would end with.
#include <windows.h>

#include <string>
#include <vector>

#include "check/readiness_check.h"
#include "platform/console_output.h"
#include "platform/program_entry.h"

int wmain(int argc, wchar_t** argv) {
    using namespace tolvarine;
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    return RunProgram(
        [&](SystemReads& system) {  // the system's reads alone
            const CheckReport report = RunCheck(system, arguments);
            WriteStandardText(STD_OUTPUT_HANDLE, report.text);
            return report.exitCode;
        },
        ReportErrorOnConsole);
}
