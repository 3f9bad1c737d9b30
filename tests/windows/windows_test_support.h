// Helpers for the Windows suite: tests that run the real programs, on Windows or under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32_handles.h"
#include "tests/support/timeline_log.h"

namespace tolvarine::windows_test {

using support::Utf8;

// The kit's folder, where this program lies with the shipped programs and
// the test helpers.
std::wstring BinDir();
// The same helpers built for the other machine (64-bit where the programs
// under test are 32-bit, and the reverse), in the kit's "other-machine"
// folder: only read, never run.
std::wstring OtherMachineBinDir();

// The work folder the kit runs in (the current folder at start, its long
// name), under which every test makes its folders.
std::wstring TestRoot();
// A new folder for one test, under TestRoot().
std::wstring MakeTestDir(const std::wstring& name);

// A drive letter ("X:") that names an empty folder for the run, for
// programs placed at a drive root: one defined here, or, where Wine cannot
// open files through such a drive, the Q: the harness maps. Empty when
// there is none.
std::wstring TestDrive();

// Windows lets only an elevated administrator write HKEY_LOCAL_MACHINE,
// Program Files and HKCU\Software\Policies. False also when the run was
// asked to behave as a standard user (--as-standard-user).
bool IsElevated();
void BehaveAsStandardUser();
bool RunsUnderWine();

#define TOLVARINE_SKIP_UNLESS_ELEVATED(why)                                     \
    do {                                                                        \
        if (!::tolvarine::windows_test::IsElevated())                              \
            GTEST_SKIP() << "needs an elevated administrator: " << (why);        \
    } while (false)

// The program that opens ".mde" files for this user (HKCU\Software\Classes),
// which Windows merges over the machine's association. Wine's shell reads
// only HKEY_CLASSES_ROOT, so under Wine it goes there too. An empty command
// removes it.
void SetDatabaseAssociation(const std::wstring& command);

void CopyInto(const std::wstring& file, const std::wstring& folder, const std::wstring& newName = {});
void WriteEmptyFile(const std::wstring& path);
std::string ReadFileUtf8(const std::wstring& path);
std::wstring FromUtf8(const std::string& text);

// A process and all it starts, ended together when this goes. Its standard
// output and error go to outputFile when one is named. A program named
// apart from the command line may be longer than MAX_PATH.
class Process {
public:
    explicit Process(std::wstring commandLine, const std::wstring& currentDirectory = {},
                     const std::wstring& outputFile = {}, const std::wstring& program = {});
    // The exit code, or nothing when the process is still running after the wait.
    std::optional<DWORD> WaitForExit(DWORD milliseconds);
    ~Process();

private:
    UniqueKernelHandle job_;
    UniqueKernelHandle handle_;
};

struct Event {
    std::int64_t microseconds;
    std::string source;
    std::string text;
};

// The events of a timeline log, in time order.
std::vector<Event> ReadTimeline(const std::wstring& path);
// The first event whose source starts with sourcePrefix and text with textPrefix.
std::optional<Event> FindEvent(const std::vector<Event>& events, const std::string& sourcePrefix,
                               const std::string& textPrefix);

struct RegistryData {
    DWORD type;
    std::vector<unsigned char> bytes;
};
std::optional<RegistryData> ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name);
// The key and everything under it, in the view given (0: the process's
// own); a missing key is no failure.
LONG DeleteRegistryTree(HKEY root, const std::wstring& path, REGSAM view = 0);
// A key, its values and its subkeys, as text to compare; empty when the key
// is missing (kit_state.cpp, which records the kit's keys the same way).
std::string RegistryTreeText(HKEY root, const std::wstring& path);
// The key made again exactly as that text recorded it (deleted when empty).
LONG PutBackRegistryTree(HKEY root, const std::wstring& path, const std::string& text);
void SetRegistryDefault(HKEY root, const std::wstring& path, const std::wstring& text);
// Any value; a null name is the key's default value.
void SetRegistryValue(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                      DWORD size);

// Polls until the predicate holds or the time runs out; returns the predicate's last answer.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!predicate()) {
        if (::GetTickCount() - start > milliseconds) return predicate();
        ::Sleep(10);
    }
    return true;
}

struct MessageBoxSeen {
    HWND window;
    std::wstring text;
    std::wstring okText;
    HWND ok;      // its first visible push button
    int buttons;  // visible push buttons
    int icons;    // visible icon images
};

// Waits for a visible message box with this caption and describes it.
std::optional<MessageBoxSeen> WaitForMessageBox(const wchar_t* caption);
// OK by the box's own button id, sent to the box: it does not depend on the
// box being the active window (a posted click may be lost then).
void PressOk(const MessageBoxSeen& box);

// A window's text, read with WM_GETTEXT (which also works across processes).
std::wstring WindowText(HWND window);

// Asks every stand-in application window to close and waits until none is left.
void CloseStandInWindows();

}  // namespace tolvarine::windows_test
