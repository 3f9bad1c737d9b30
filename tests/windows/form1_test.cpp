// Form1, shown by the real ManualLaunch.exe, inspected from this
// process: layout at two densities, keyboard focus and tab order, and the
// processes its button starts.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "platform/windows_platform.h"
#include "tests/windows/windows_test_support.h"
#include "window/form1.h"

namespace tolvarine::windows_test {
namespace {

constexpr int kCommand1Id = 100;
constexpr int kTxtPathDBId = 101;
constexpr int kLabel1Id = 102;
const std::wstring kOfficeFolder = L"C:\\Program Files\\Microsoft Office\\OFFICE11";
const std::wstring kAccess = kOfficeFolder + L"\\MSACCESS.EXE";
// Where 64-bit Windows installs the 32-bit Office 2003.
const std::wstring kOfficeFolderX86 = L"C:\\Program Files (x86)\\Microsoft Office\\OFFICE11";

bool On64BitWindows() {
    wchar_t folder[MAX_PATH];
    return ::GetSystemWow64DirectoryW(folder, MAX_PATH) != 0;
}

// The folder Access 2003 registers at install, in the 32-bit registry view;
// no folder removes it.
void RegisterAccessFolder(const std::wstring& folder) {
    UniqueRegistryKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\11.0\\Access\\InstallRoot", 0,
                                nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    if (folder.empty())
        ::RegDeleteValueW(key.get(), L"Path");
    else
        ::RegSetValueExW(key.get(), L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                         static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

// Windows changes the display density only at sign-in; Wine takes the
// registry's value at each process start.
bool DensityCanBe(int dpi) {
    if (RunsUnderWine()) return true;
    struct ScreenDc {
        HDC dc = ::GetDC(nullptr);
        ~ScreenDc() { ::ReleaseDC(nullptr, dc); }
    } screen;
    return ::GetDeviceCaps(screen.dc, LOGPIXELSX) == dpi;
}

// A copy of the stand-in, or no file: never an Access that is installed.
bool StandInOrNothing(const std::wstring& path) {
    const std::string file = ReadFileUtf8(path);
    return file.empty() || file == ReadFileUtf8(BinDir() + L"\\standin_app.exe");
}

void InstallAccessStandIn(const std::wstring& folder) {
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    CopyInto(BinDir() + L"\\standin_app.exe", folder, L"MSACCESS.EXE");
}

// A stand-in started from the file may still be ending.
bool RemoveFile(const std::wstring& path) {
    return WaitUntil(
        [&] {
            return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND ||
                   ::GetLastError() == ERROR_PATH_NOT_FOUND;
        },
        10000);
}

void SetDotsPerInch(DWORD dpi) {
    UniqueRegistryKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
}

struct ControlSeen {
    std::wstring className;
    std::wstring text;
    RECT rect;  // in the form's client coordinates
    bool tabStop;
};

class Form1Test : public ::testing::Test {
protected:
    void TearDown() override {
        if (form_) ::PostMessageW(form_, WM_CLOSE, 0, 0);
        if (program_) {
            EXPECT_EQ(program_->WaitForExit(10000), 0u);
        }
        SetDotsPerInch(96);
        CloseStandInWindows();
    }

    void Open(DWORD dpi) {
        SetDotsPerInch(dpi);
        program_.emplace(L"\"" + BinDir() + L"\\ManualLaunch.exe\"");
        ASSERT_TRUE(WaitUntil(
            [&] {
                form_ = ::FindWindowW(L"TolvarineForm1", L"Form1");
                return form_ && ::IsWindowVisible(form_);
            },
            15000));
    }

    HWND Control(int id) const { return ::GetDlgItem(form_, id); }

    ControlSeen Inspect(int id) const {
        const HWND control = Control(id);
        ControlSeen seen{};
        wchar_t className[64] = {};
        ::GetClassNameW(control, className, 64);
        seen.className = className;
        seen.text = WindowText(control);
        ::GetWindowRect(control, &seen.rect);
        ::MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&seen.rect), 2);
        seen.tabStop = (::GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0;
        return seen;
    }

    void ExpectRect(int id, int left, int top, int width, int height) const {
        const RECT r = Inspect(id).rect;
        EXPECT_NEAR(r.left, left, 1) << id;
        EXPECT_NEAR(r.top, top, 1) << id;
        EXPECT_NEAR(r.right - r.left, width, 1) << id;
        EXPECT_NEAR(r.bottom - r.top, height, 1) << id;
    }

    void ExpectClientSize(int width, int height) const {
        RECT client{};
        ::GetClientRect(form_, &client);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);
    }

    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(form_, nullptr), &info);
        return info.hwndFocus;
    }

    // The notification a click of Command1 sends. Posted when the click
    // ends in a message box, which would block a sent one.
    void ClickCommand1(bool wait = true) {
        const WPARAM command = MAKEWPARAM(kCommand1Id, BN_CLICKED);
        const auto button = reinterpret_cast<LPARAM>(Control(kCommand1Id));
        if (wait)
            ::SendMessageW(form_, WM_COMMAND, command, button);
        else
            ::PostMessageW(form_, WM_COMMAND, command, button);
    }

    void ClickOpenDb(const std::wstring& path) {
        ::SendMessageW(Control(kTxtPathDBId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        ClickCommand1();
    }

    std::optional<Process> program_;
    HWND form_ = nullptr;
};

TEST_F(Form1Test, LayoutAt96DotsPerInch) {
    if (!DensityCanBe(96)) GTEST_SKIP() << "the display is not at 96 DPI, which Windows changes only at sign-in";
    Open(96);
    ExpectClientSize(718, 383);

    const ControlSeen label = Inspect(kLabel1Id);
    EXPECT_EQ(_wcsicmp(label.className.c_str(), L"Static"), 0);
    EXPECT_EQ(label.text, L"Path and DB to open");
    EXPECT_FALSE(label.tabStop);
    ExpectRect(kLabel1Id, 76, 80, 325, 25);

    const ControlSeen box = Inspect(kTxtPathDBId);
    EXPECT_EQ(_wcsicmp(box.className.c_str(), L"Edit"), 0);
    EXPECT_EQ(box.text, L"C:\\Program Files\\Tolvarine\\Tolvarine.mde");
    EXPECT_TRUE(box.tabStop);
    ExpectRect(kTxtPathDBId, 76, 104, 593, 29);

    const ControlSeen button = Inspect(kCommand1Id);
    EXPECT_EQ(_wcsicmp(button.className.c_str(), L"Button"), 0);
    EXPECT_EQ(button.text, L"Open DB");
    EXPECT_TRUE(button.tabStop);
    EXPECT_EQ(::GetWindowLongW(Control(kCommand1Id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);  // not default
    ExpectRect(kCommand1Id, 280, 256, 121, 41);

    // Top-level, resizable, with system menu, minimise and maximise.
    const LONG style = ::GetWindowLongW(form_, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(::GetParent(form_), nullptr);
}

TEST_F(Form1Test, LayoutScalesAt144DotsPerInch) {
    if (!DensityCanBe(144)) GTEST_SKIP() << "the display is not at 144 DPI, which Windows changes only at sign-in";
    Open(144);
    ExpectClientSize(1077, 575);
    ExpectRect(kLabel1Id, 114, 120, 488, 38);
    ExpectRect(kTxtPathDBId, 114, 156, 890, 44);
    ExpectRect(kCommand1Id, 420, 384, 182, 62);
}

TEST_F(Form1Test, FocusStartsOnCommand1WhichComesFirstInTheTabOrder) {
    Open(96);
    // The window is visible a moment before it takes the focus.
    EXPECT_TRUE(WaitUntil([&] { return Focus() == Control(kCommand1Id); }, 5000));
    // Tab follows the order of the children: Command1, then the box.
    const HWND first = ::GetWindow(form_, GW_CHILD);
    EXPECT_EQ(first, Control(kCommand1Id));
    EXPECT_EQ(::GetWindow(first, GW_HWNDNEXT), Control(kTxtPathDBId));
}

class Form1StartsAccess : public Form1Test {
protected:
    void SetUp() override {
        TOLVARINE_SKIP_UNLESS_ELEVATED("Program Files and HKEY_LOCAL_MACHINE are read-only to users");
        if (!StandInOrNothing(kAccess) || !StandInOrNothing(kOfficeFolderX86 + L"\\MSACCESS.EXE"))
            GTEST_SKIP() << "Access 2003 is installed here, and the test would replace it";
        ::CreateDirectoryW(L"C:\\Program Files\\Microsoft Office", nullptr);
        ::CreateDirectoryW(kOfficeFolder.c_str(), nullptr);
        // A stand-in from the previous test may still hold its copy.
        if (::GetFileAttributesW(kAccess.c_str()) == INVALID_FILE_ATTRIBUTES)
            CopyInto(BinDir() + L"\\standin_app.exe", kOfficeFolder, L"MSACCESS.EXE");
        log_ = MakeTestDir(L"form1-" + FromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name())) +
               L"\\timeline.log";
        ::SetEnvironmentVariableW(L"TOLVARINE_STANDIN_LOG", log_.c_str());
        ::SetEnvironmentVariableW(L"TOLVARINE_STANDIN_TITLE", L"Access stand-in");
        ::SetEnvironmentVariableW(L"TOLVARINE_STANDIN_DELAY_MS", L"0");
        Open(96);
    }

    std::vector<std::string> CommandLinesSeen(std::size_t expected) const {
        std::vector<std::string> lines;
        WaitUntil(
            [&] {
                lines.clear();
                for (const auto& event : ReadTimeline(log_))
                    if (event.text.starts_with("command-line ")) lines.push_back(event.text.substr(13));
                return lines.size() >= expected;
            },
            10000);
        return lines;
    }

    std::wstring log_;
};

const std::string kQuotedAccess = "\"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE\"";

TEST_F(Form1StartsAccess, PathWithSpacesAndOtherScriptsIsOneQuotedArgument) {
    const std::wstring path = L"C:\\Data Files\\Zo\u00EB \u6587\u4EF6 \u043F\u0430\u043F\u043A\u0430\\Tolvarine.mde";
    ClickOpenDb(path);
    EXPECT_EQ(CommandLinesSeen(1), std::vector<std::string>{kQuotedAccess + " \"" + Utf8(path) + "\""});
    EXPECT_TRUE(::IsWindowVisible(form_));
}

TEST_F(Form1StartsAccess, EmptyBoxPassesTwoQuotes) {
    ClickOpenDb(L"");
    EXPECT_EQ(CommandLinesSeen(1), std::vector<std::string>{kQuotedAccess + " \"\""});
}

TEST_F(Form1StartsAccess, TwoClicksStartTwoProcessesAndTheWindowStaysOpen) {
    ClickOpenDb(L"C:\\one.mde");
    ClickOpenDb(L"C:\\two.mde");
    auto seen = CommandLinesSeen(2);
    std::sort(seen.begin(), seen.end());  // the two processes may log in either order
    EXPECT_EQ(seen, (std::vector<std::string>{kQuotedAccess + " \"C:\\one.mde\"", kQuotedAccess + " \"C:\\two.mde\""}));
    EXPECT_TRUE(::IsWindowVisible(form_));
    EXPECT_FALSE(program_->WaitForExit(0).has_value());
}

// Each click looks Access up afresh: the standard path first, then the
// registered folder, then (64-bit Windows only) Program Files (x86).
TEST_F(Form1StartsAccess, AccessIsFoundInItsRegisteredFolderOrUnderThe32BitProgramFiles) {
    const std::wstring registered = TestRoot() + L"\\Office 2003\\OFFICE11";
    InstallAccessStandIn(registered);
    RegisterAccessFolder(registered + L"\\");
    if (On64BitWindows()) InstallAccessStandIn(kOfficeFolderX86);
    std::string registeredAccess = "\"";
    registeredAccess += Utf8(registered) + "\\MSACCESS.EXE\"";
    std::vector<std::string> expected{kQuotedAccess + " \"C:\\one.mde\"", registeredAccess + " \"C:\\two.mde\"",
                                      registeredAccess + " \"C:\\two-b.mde\""};

    ClickOpenDb(L"C:\\one.mde");
    ASSERT_TRUE(WaitUntil([] { return ::FindWindowW(nullptr, L"Access stand-in") != nullptr; }, 10000));
    CloseStandInWindows();
    ASSERT_TRUE(RemoveFile(kAccess));
    ClickOpenDb(L"C:\\two.mde");
    RegisterAccessFolder(registered);  // registered without its trailing backslash
    ClickOpenDb(L"C:\\two-b.mde");
    if (On64BitWindows()) {
        RegisterAccessFolder(L"");
        ClickOpenDb(L"C:\\three.mde");
        expected.push_back("\"C:\\Program Files (x86)\\Microsoft Office\\OFFICE11\\MSACCESS.EXE\" \"C:\\three.mde\"");
    }
    auto seen = CommandLinesSeen(expected.size());
    std::sort(seen.begin(), seen.end());  // the last two processes may log in either order
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected);
}

TEST_F(Form1Test, MissingAccessIsReportedAndEndsTheProgram) {
    TOLVARINE_SKIP_UNLESS_ELEVATED("Program Files and HKEY_LOCAL_MACHINE are read-only to users");
    if (!StandInOrNothing(kAccess) || !StandInOrNothing(kOfficeFolderX86 + L"\\MSACCESS.EXE"))
        GTEST_SKIP() << "Access 2003 is installed here, and the test would remove it";
    ASSERT_TRUE(RemoveFile(kAccess));
    ASSERT_TRUE(RemoveFile(kOfficeFolderX86 + L"\\MSACCESS.EXE"));
    RegisterAccessFolder(L"");
    Open(96);
    ClickCommand1(false);
    const auto box = WaitForMessageBox(L"Tolvarine Launcher");
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->text.starts_with(L"Error 2: ")) << Utf8(box->text);
    EXPECT_GT(box->text.size(), 10u);  // the system's description follows the number
    EXPECT_EQ(box->icons, 1);
    PressOk(*box);
    EXPECT_EQ(program_->WaitForExit(10000), 3u);
    program_.reset();
    form_ = nullptr;
}

// Wine answers neither WM_GETICON nor GetClassLongPtr for another process's
// window, so this one is created here.
TEST(Form1InProcess, CarriesTheProgramIconAndOpensWithTheDefaultPath) {
    Form1 form(::GetModuleHandleW(nullptr));
    EXPECT_NE(::GetClassLongPtrW(form.hwnd(), GCLP_HICON), 0u);
    EXPECT_NE(::GetClassLongPtrW(form.hwnd(), GCLP_HICONSM), 0u);
    EXPECT_EQ(WindowText(::GetDlgItem(form.hwnd(), kTxtPathDBId)), L"C:\\Program Files\\Tolvarine\\Tolvarine.mde");
    EXPECT_FALSE(::IsWindowVisible(form.hwnd()));
}

}  // namespace
}  // namespace tolvarine::windows_test
