// Runs one launch and records its timeline: the launcher's start, every write
// of the security level and each change of the launcher's trusted location
// (through RegNotifyChangeKeyValue, which fires within a fraction of a
// millisecond of the write), and the launcher's exit code.
//   launch_observer.exe <log file> <level to set first, or -> <program> [arguments...]
// Exits with the program's exit code, or 100 and up on its own failures.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32_handles.h"
#include "tests/support/timeline_log.h"

namespace {

using namespace tolvarine;
using namespace tolvarine::support;

constexpr wchar_t kSource[] = L"observer";

bool Arm(HKEY key, HANDLE event) {
    return ::RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_LAST_SET, event, TRUE) == ERROR_SUCCESS;
}

// Any key or value added, changed or removed under the key.
bool ArmSubtree(HKEY key, HANDLE event) {
    return ::RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event, TRUE) ==
           ERROR_SUCCESS;
}

// Logs the trusted location when it differs from the one logged last.
void NoteTrustedLocation(const std::wstring& log, std::wstring& last) {
    const std::wstring now = ReadTrustedLocation();
    if (now != last) AppendEvent(log, kSource, L"trusted-location " + now);
    last = now;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const UniqueLocalMemory arguments(argv);
    if (!argv || argc < 4) return 100;
    const std::wstring log = argv[1];
    const std::wstring initialLevel = std::wstring(argv[2]) == L"-" ? L"" : argv[2];
    std::wstring commandLine;
    for (int i = 3; i < argc; ++i) commandLine += (i > 3 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";

    UniqueRegistryKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\11.0\\Access\\Security", 0, nullptr, 0,
                          KEY_READ | KEY_SET_VALUE | KEY_NOTIFY, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return 101;
    if (!initialLevel.empty()) {
        const DWORD level = std::stoul(initialLevel);
        ::RegSetValueExW(key.get(), L"Level", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&level), sizeof(level));
    }
    const UniqueKernelHandle changed(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!changed || !Arm(key.get(), changed.get())) return 102;
    UniqueRegistryKey office;
    const UniqueKernelHandle officeChanged(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office", 0, KEY_NOTIFY, office.put()) !=
            ERROR_SUCCESS ||
        !officeChanged || !ArmSubtree(office.get(), officeChanged.get()))
        return 102;
    std::wstring trustedLocation = ReadTrustedLocation();

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    AppendEvent(log, kSource, L"launcher-start level=" + std::to_wstring(ReadSecurityLevel()));
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return 103;
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);

    const HANDLE waits[] = {changed.get(), officeChanged.get(), process.get()};
    for (;;) {
        const DWORD which = ::WaitForMultipleObjects(3, waits, FALSE, 300'000);
        if (which == WAIT_OBJECT_0) {
            AppendEvent(log, kSource, L"level=" + std::to_wstring(ReadSecurityLevel()));
            if (!Arm(key.get(), changed.get())) return 104;
        } else if (which == WAIT_OBJECT_0 + 1) {
            // Armed again first, so that no change after this reading goes unseen.
            if (!ArmSubtree(office.get(), officeChanged.get())) return 104;
            NoteTrustedLocation(log, trustedLocation);
        } else if (which == WAIT_OBJECT_0 + 2) {
            break;
        } else {
            ::TerminateProcess(process.get(), 99);
            return 105;
        }
    }
    // A write in the launcher's last moment may signal just after its exit.
    if (::WaitForSingleObject(changed.get(), 0) == WAIT_OBJECT_0)
        AppendEvent(log, kSource, L"level=" + std::to_wstring(ReadSecurityLevel()));
    NoteTrustedLocation(log, trustedLocation);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    AppendEvent(log, kSource, L"launcher-exit code=" + std::to_wstring(exitCode) +
                                  L" level=" + std::to_wstring(ReadSecurityLevel()));
    return static_cast<int>(exitCode);
}
