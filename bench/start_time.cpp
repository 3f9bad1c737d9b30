// Starts one program the way Explorer does, with CreateProcess and nothing
// attached: no registry watch, no debugger, no sampler. Stamps the moment
// before the start in the timeline log, waits for the program (60 s at
// most) and exits with its exit code.
//   start_time.exe <log file> <program>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32_handles.h"
#include "tests/support/timeline_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const tolvarine::UniqueLocalMemory arguments(argv);
    if (!argv || argc != 3) return 100;
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    tolvarine::support::AppendEvent(argv[1], L"starter", L"launcher-start");
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return 101;
    const tolvarine::UniqueKernelHandle process(started.hProcess);
    const tolvarine::UniqueKernelHandle thread(started.hThread);
    if (::WaitForSingleObject(process.get(), 60'000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 99);
        return 102;
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<int>(exitCode);
}
