#include "tests/windows/windows_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tolvarine::windows_test {

std::wstring BinDir() {
    wchar_t path[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 32768);
    const std::wstring program(path, length);
    return program.substr(0, program.find_last_of(L'\\'));
}

std::wstring OtherMachineBinDir() { return BinDir() + L"\\other-machine"; }

std::wstring TestRoot() {
    static const std::wstring root = [] {
        wchar_t current[32768], full[32768];
        const DWORD length = ::GetCurrentDirectoryW(32768, current);
        // %TEMP% is often a short name (RUNNER~1); the programs see long ones.
        const DWORD longLength = ::GetLongPathNameW(current, full, 32768);
        std::wstring folder = longLength > 0 && longLength < 32768 ? full : std::wstring(current, length);
        if (folder.ends_with(L'\\')) folder.pop_back();
        return folder;
    }();
    return root;
}

std::wstring MakeTestDir(const std::wstring& name) {
    // Each run has a fresh work folder, so the folder is new.
    const std::wstring folder = TestRoot() + L"\\" + name;
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("cannot create " + Utf8(folder));
    return folder;
}

namespace {

// A drive letter defined for this run, removed when the program ends.
class DefinedDrive {
public:
    DefinedDrive() {
        const std::wstring folder = MakeTestDir(L"drive-root");
        for (wchar_t letter = L'Z'; letter > L'D' && drive_.empty(); --letter) {
            const std::wstring drive{letter, L':'};
            if (::GetDriveTypeW((drive + L"\\").c_str()) != DRIVE_NO_ROOT_DIR) continue;
            if (!::DefineDosDeviceW(0, drive.c_str(), folder.c_str())) return;
            target_ = folder;
            drive_ = drive;
        }
        // Wine defines the name but cannot open files through it.
        const std::wstring probe = L"\\probe.txt";
        if (drive_.empty()) return;
        const bool written = static_cast<bool>(UniqueFileHandle(::CreateFileW(
            (drive_ + probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!written || !::DeleteFileW((folder + probe).c_str())) Remove();
    }
    ~DefinedDrive() { Remove(); }
    const std::wstring& drive() const { return drive_; }

private:
    void Remove() {
        if (!drive_.empty())
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive_.c_str(), target_.c_str());
        drive_.clear();
    }
    std::wstring drive_, target_;
};

bool standardUser = false;

}  // namespace

std::wstring TestDrive() {
    static const DefinedDrive defined;
    if (!defined.drive().empty()) return defined.drive();
    return RunsUnderWine() && ::GetDriveTypeW(L"Q:\\") != DRIVE_NO_ROOT_DIR ? L"Q:" : L"";
}

void BehaveAsStandardUser() { standardUser = true; }

bool IsElevated() {
    HANDLE opened = nullptr;
    if (standardUser || !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    const UniqueKernelHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated != 0;
}

bool RunsUnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

void SetDatabaseAssociation(const std::wstring& command) {
    std::vector<std::pair<HKEY, std::wstring>> roots = {{HKEY_CURRENT_USER, L"Software\\Classes\\"}};
    if (RunsUnderWine()) roots.emplace_back(HKEY_CLASSES_ROOT, L"");
    for (const auto& [root, prefix] : roots) {
        DeleteRegistryTree(root, prefix + L".mde");
        if (command.empty()) continue;
        SetRegistryDefault(root, prefix + L".mde", L"TolvarineTest.Database");
        SetRegistryDefault(root, prefix + L"TolvarineTest.Database\\shell\\open\\command", command);
    }
}

void CopyInto(const std::wstring& file, const std::wstring& folder, const std::wstring& newName) {
    const std::wstring name = newName.empty() ? file.substr(file.find_last_of(L"\\/") + 1) : newName;
    if (!::CopyFileW(file.c_str(), (folder + L"\\" + name).c_str(), FALSE))
        throw std::runtime_error("copy failed: " + Utf8(file));
}

void WriteEmptyFile(const std::wstring& path) {
    const UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("cannot create " + Utf8(path));
}

std::string ReadFileUtf8(const std::wstring& path) {
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

Process::Process(std::wstring commandLine, const std::wstring& currentDirectory, const std::wstring& outputFile,
                 const std::wstring& program)
    : job_(::CreateJobObjectW(nullptr, nullptr)) {
    // Whatever the process starts joins its job, so that ending the job ends
    // them all: a launcher left waiting would disturb the tests after it.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job_ || !::SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
        throw std::runtime_error("cannot create a job object");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    UniqueFileHandle output;
    if (!outputFile.empty()) {
        output.reset(::CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output) throw std::runtime_error("cannot create " + Utf8(outputFile));
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output.get();
    }
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.empty() ? nullptr : program.c_str(), commandLine.data(), nullptr, nullptr,
                          output ? TRUE : FALSE, CREATE_SUSPENDED, nullptr,
                          currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &started))
        throw std::runtime_error("cannot start " + Utf8(commandLine));
    handle_.reset(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    if (!::AssignProcessToJobObject(job_.get(), handle_.get())) {
        ::TerminateProcess(handle_.get(), 99);
        throw std::runtime_error("cannot put into a job: " + Utf8(commandLine));
    }
    ::ResumeThread(thread.get());
}

std::optional<DWORD> Process::WaitForExit(DWORD milliseconds) {
    if (::WaitForSingleObject(handle_.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(handle_.get(), &code);
    return code;
}

Process::~Process() {
    // Ends the process and everything it started, whether the test passed or not.
    ::TerminateJobObject(job_.get(), 99);
    ::WaitForSingleObject(handle_.get(), 5000);
}

std::vector<Event> ReadTimeline(const std::wstring& path) {
    std::vector<Event> events;
    std::istringstream lines(ReadFileUtf8(path));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Event event{};
        fields >> event.microseconds >> event.source;
        std::getline(fields >> std::ws, event.text);
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.microseconds < b.microseconds; });
    return events;
}

std::optional<Event> FindEvent(const std::vector<Event>& events, const std::string& sourcePrefix,
                               const std::string& textPrefix) {
    for (const auto& event : events)
        if (event.source.starts_with(sourcePrefix) && event.text.starts_with(textPrefix)) return event;
    return std::nullopt;
}

std::optional<RegistryData> ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    UniqueRegistryKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;
    RegistryData data{};
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &data.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.bytes.resize(size);
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &data.type, data.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.bytes.resize(size);
    return data;
}

LONG DeleteRegistryTree(HKEY root, const std::wstring& path, REGSAM view) {
    // Depth first, since a key with subkeys cannot be deleted.
    {
        UniqueRegistryKey key;
        LONG status = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.put());
        if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS) return status;
        wchar_t name[256];
        for (DWORD length = 256;
             ::RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             length = 256)
            if ((status = DeleteRegistryTree(root, path + L"\\" + name, view)) != ERROR_SUCCESS) return status;
    }
    return ::RegDeleteKeyExW(root, path.c_str(), view, 0);
}

void SetRegistryValue(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                      DWORD size) {
    UniqueRegistryKey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create key " + Utf8(path));
    ::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

void SetRegistryDefault(HKEY root, const std::wstring& path, const std::wstring& text) {
    SetRegistryValue(root, path, nullptr, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void CloseStandInWindows() {
    const bool closed = WaitUntil(
        [] {
            const HWND window = ::FindWindowW(L"TolvarineStandIn", nullptr);
            if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
            return window == nullptr;
        },
        10000);
    EXPECT_TRUE(closed) << "a stand-in window would not close";
}

}  // namespace tolvarine::windows_test

namespace tolvarine::windows_test {

std::wstring WindowText(HWND window) {
    const auto length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::optional<MessageBoxSeen> WaitForMessageBox(const wchar_t* caption) {
    HWND box = nullptr;
    // FindWindow ignores case; the caption must match exactly.
    const auto find = [&] {
        for (HWND found = nullptr; (found = ::FindWindowExW(nullptr, found, L"#32770", caption)) != nullptr;)
            if (WindowText(found) == caption && ::IsWindowVisible(found)) return found;
        return HWND{};
    };
    const bool shown = WaitUntil([&] { return (box = find()) != nullptr; }, 15000);
    EXPECT_TRUE(shown) << "no message box";
    if (!shown) return std::nullopt;
    ::Sleep(300);  // the box sets its icon after it appears
    MessageBoxSeen seen{box, WindowText(::GetDlgItem(box, 0xFFFF)), {}, nullptr, 0, 0};
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        wchar_t className[64] = {};
        ::GetClassNameW(child, className, 64);
        // An OK-only box's button has id 2 on Windows (so that Esc closes
        // it) and 1 under Wine: it is found as the box's button, not by id.
        if (_wcsicmp(className, L"Button") == 0 && seen.buttons++ == 0) seen.ok = child;
        if (_wcsicmp(className, L"Static") == 0 && (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            ::SendMessageW(child, STM_GETICON, 0, 0) != 0)
            ++seen.icons;
    }
    if (seen.ok) seen.okText = WindowText(seen.ok);
    return seen;
}

void PressOk(const MessageBoxSeen& box) {
    ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(box.ok), BN_CLICKED),
                   reinterpret_cast<LPARAM>(box.ok));
}

}  // namespace tolvarine::windows_test
