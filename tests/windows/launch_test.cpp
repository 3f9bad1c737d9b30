// The real TolvarineLauncher.exe, with the stand-in application
// registered for ".mde". Each run goes through launch_observer.exe, which
// records the launcher's start, each level written and the exit code; the
// stand-in records the level it saw and when its window appeared.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/windows/windows_test_support.h"

namespace tolvarine::windows_test {
namespace {

using Events = std::vector<Event>;

constexpr DWORD kRunLimit = 30000;
const std::wstring kSecurityKey = L"Software\\Microsoft\\Office\\11.0\\Access\\Security";

void SetEnv(const wchar_t* name, const std::wstring& value) {
    ::SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

long CurrentLevel() {
    const auto data = ReadRegistryValue(HKEY_CURRENT_USER, kSecurityKey, L"Level");
    if (!data || data->type != REG_DWORD || data->bytes.size() != 4) return -1;
    return data->bytes[0] | data->bytes[1] << 8 | data->bytes[2] << 16 | data->bytes[3] << 24;
}

// The program the user chose with "Always use this app" for ".mde" files,
// which overrides every association the suite writes; empty when none.
std::wstring UserChosenDatabaseProgram() {
    const auto chosen = ReadRegistryValue(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.mde\\UserChoice", L"ProgId");
    if (!chosen || chosen->type != REG_SZ) return {};
    const std::wstring data(reinterpret_cast<const wchar_t*>(chosen->bytes.data()), chosen->bytes.size() / 2);
    return data.c_str();  // up to its NUL
}

// The machine's own ".mde" association, set aside for one case and put back
// when the case ends. False from removed() where it may not be removed.
class MachineAssociationSetAside {
public:
    MachineAssociationSetAside()
        : saved_(RegistryTreeText(HKEY_LOCAL_MACHINE, kKey)),
          removed_(saved_.empty() || DeleteRegistryTree(HKEY_LOCAL_MACHINE, kKey) == ERROR_SUCCESS) {}
    ~MachineAssociationSetAside() {
        if (!saved_.empty() && removed_) {
            EXPECT_EQ(PutBackRegistryTree(HKEY_LOCAL_MACHINE, kKey, saved_), ERROR_SUCCESS);
        }
    }
    bool removed() const { return removed_; }

private:
    static constexpr const wchar_t* kKey = L"Software\\Classes\\.mde";
    const std::string saved_;
    const bool removed_;
};

double Milliseconds(const Event& from, const Event& to) { return (to.microseconds - from.microseconds) / 1000.0; }

std::string Describe(const Events& events) {
    std::string text;
    for (const auto& e : events) text += std::to_string(e.microseconds) + " " + e.source + " " + e.text + "\n";
    return text;
}

class LaunchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetDatabaseAssociation(L"\"" + BinDir() + L"\\standin_app.exe\" \"%1\""); }

    void SetUp() override {
        if (const std::wstring chosen = UserChosenDatabaseProgram(); !chosen.empty())
            GTEST_SKIP() << "this user chose " << Utf8(chosen) << " for .mde files (\"Always use this app\"), which "
                         << "overrides the suite's association: remove that choice to run the launch cases";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name_ = FromUtf8(info->name());
        // No trusted location, level or policy left by an earlier test (the
        // policies stay where a standard user may not delete them).
        for (const wchar_t* key : {L"11.0\\Access", L"11.0\\Common\\Security", L"16.0\\Access", L"16.0\\Common\\Security"})
            DeleteRegistryTree(HKEY_CURRENT_USER, std::wstring(L"Software\\Microsoft\\Office\\") + key);
        for (const wchar_t* policies : {L"Office", L"Cloud\\Office"})
            DeleteRegistryTree(HKEY_CURRENT_USER, std::wstring(L"Software\\Policies\\Microsoft\\") + policies);
        log_ = MakeTestDir(L"log-" + name_) + L"\\timeline.log";
        StandIn(300, L"Tolvarine");
        SetEnv(L"TOLVARINE_STANDIN_LIFETIME_MS", L"60000");
    }

    void TearDown() override {
        CloseStandInWindows();
        SetUpTestSuite();  // the plain stand-in opens ".mde" files again
    }

    // Access as the program that opens ".mde" files: the stand-in carrying
    // the version resource of Access 2003 (11) or 2016 to 365 (16), as
    // MSACCESS.EXE, built for the launcher's machine or the other one.
    void AccessOpensDatabases(int major, bool otherMachine = false) {
        const std::wstring folder =
            MakeTestDir(L"office" + std::to_wstring(major) + (otherMachine ? L"-other-" : L"-") + name_);
        CopyInto((otherMachine ? OtherMachineBinDir() : BinDir()) + L"\\standin_access" + std::to_wstring(major) +
                     L".exe",
                 folder, L"MSACCESS.EXE");
        SetDatabaseAssociation(L"\"" + folder + L"\\MSACCESS.EXE\" \"%1\"");
    }

    // How the stand-ins started from now on behave.
    void StandIn(int delayMilliseconds, const std::wstring& title) {
        SetEnv(L"TOLVARINE_STANDIN_LOG", log_);
        SetEnv(L"TOLVARINE_STANDIN_DELAY_MS", std::to_wstring(delayMilliseconds));
        SetEnv(L"TOLVARINE_STANDIN_TITLE", title);
    }

    // A folder holding the launcher and, unless told otherwise, the database.
    std::wstring LauncherFolder(const std::wstring& folderName, bool withDatabase = true) {
        const std::wstring folder = MakeTestDir(folderName);
        CopyInto(BinDir() + L"\\TolvarineLauncher.exe", folder);
        if (withDatabase) WriteEmptyFile(folder + L"\\Tolvarine.mde");
        return folder;
    }

    // Starts the launcher in that folder through the observer.
    Process StartLauncher(const std::wstring& folder, int initialLevel = 3) {
        return Process(L"\"" + BinDir() + L"\\launch_observer.exe\" \"" + log_ + L"\" " +
                       std::to_wstring(initialLevel) + L" \"" + folder + L"\\TolvarineLauncher.exe\"");
    }

    Events Timeline() const { return ReadTimeline(log_); }

    // TolvarineCheck.exe on the folder, run before the launcher (or before
    // the install: with no folder, the package's own): its exit code, its
    // verdict, which must be its first line and its last, and its whole
    // output. It must leave the registry and the folder as they were.
    struct CheckSeen {
        std::optional<DWORD> code;
        std::wstring verdict;
        std::wstring output;
    };
    CheckSeen Check(const std::wstring& folder, bool beforeInstall = false) {
        const auto state = [&] {
            std::string text = RegistryTreeText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office") +
                               RegistryTreeText(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft") +
                               RegistryTreeText(HKEY_CLASSES_ROOT, L".mde");
            WIN32_FIND_DATAW found;
            const UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
            for (bool more = static_cast<bool>(search); more; more = ::FindNextFileW(search.get(), &found))
                text += Utf8(found.cFileName) + " " + std::to_string(found.nFileSizeLow) + "\n";
            return text;
        };
        const std::string before = state();
        const std::wstring output = log_ + L".check.txt";
        Process check(L"\"" + BinDir() + L"\\TolvarineCheck.exe\"" + (beforeInstall ? L" --before-install" : L"") +
                          (folder.empty() ? L"" : L" \"" + folder + L"\""),
                      {}, output);
        CheckSeen seen{check.WaitForExit(kRunLimit), {}, {}};
        EXPECT_EQ(state(), before) << "the check changed the registry or the folder";
        // Redirected, the check writes in the console's code page, or UTF-8 without a console.
        const std::string text = ReadFileUtf8(output);
        const UINT page = ::GetConsoleOutputCP() ? ::GetConsoleOutputCP() : CP_UTF8;
        seen.output.resize(text.size());
        seen.output.resize(static_cast<std::size_t>(::MultiByteToWideChar(
            page, 0, text.data(), static_cast<int>(text.size()), seen.output.data(), static_cast<int>(text.size()))));
        seen.verdict = seen.output.substr(0, seen.output.find(L'\r'));
        // Tools that keep only the end of the output (Intune) see the verdict too.
        EXPECT_TRUE(seen.output.ends_with(L"\r\n" + seen.verdict + L"\r\n")) << Utf8(seen.output);
        return seen;
    }

    // The check foresaw the launcher's exit code, and its verdict begins so.
    static void ExpectCheckForesaw(const CheckSeen& check, std::optional<DWORD> launcherCode,
                                   const std::wstring& verdictStart) {
        EXPECT_EQ(check.code, launcherCode);
        EXPECT_TRUE(check.verdict.starts_with(verdictStart)) << Utf8(check.verdict);
    }
    // The launcher's box as the check's one line gives it.
    static std::wstring NotReady(std::wstring box) {
        for (std::size_t at; (at = box.find(L"\n\n")) != std::wstring::npos;) box.replace(at, 2, L" ");
        return L"not ready: " + box;
    }

    void ExpectTheWaitToPassFolderWindows(bool applicationBehind);

    std::wstring name_;
    std::wstring log_;
};

// The course every successful run must show.
void ExpectSuccessfulRun(const Events& events, const std::string& expectedFile) {
    SCOPED_TRACE(Describe(events));
    const auto level1 = FindEvent(events, "observer", "level=1");
    const auto appStart = FindEvent(events, "app", "start");
    const auto window = FindEvent(events, "app", "window");
    const auto level2 = FindEvent(events, "observer", "level=2");
    const auto exit = FindEvent(events, "observer", "launcher-exit");
    ASSERT_TRUE(level1 && appStart && window && level2 && exit);
    EXPECT_EQ(appStart->text, "start level=1 file=" + expectedFile);
    EXPECT_EQ(exit->text, "launcher-exit code=0 level=2");
    // Level 2 a full second after the window, and promptly after that.
    EXPECT_GE(Milliseconds(*window, *level2), 1000.0);
    EXPECT_LT(Milliseconds(*window, *level2), 1500.0);
    EXPECT_LT(level1->microseconds, appStart->microseconds);
}

TEST_F(LaunchTest, OpensTheDatabaseUnderLevel1AndRestoresLevel2) {
    const std::wstring folder = LauncherFolder(L"plain");
    const CheckSeen check = Check(folder);
    Process launch = StartLauncher(folder, 3);
    const auto code = launch.WaitForExit(kRunLimit);
    EXPECT_EQ(code, 0u);
    ExpectCheckForesaw(check, code, L"ready: " + BinDir() + L"\\standin_app.exe opens .mde files (not Access)");
    ExpectSuccessfulRun(Timeline(), Utf8(folder) + "\\Tolvarine.mde");
    EXPECT_EQ(CurrentLevel(), 2);
}

TEST_F(LaunchTest, TitleInCapitalsEndsTheWait) {
    StandIn(300, L"TOLVARINE");
    Process launch = StartLauncher(LauncherFolder(L"capitals"));
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    ExpectSuccessfulRun(Timeline(), Utf8(TestRoot()) + "\\capitals\\Tolvarine.mde");
}

TEST_F(LaunchTest, TitleThatOnlyBeginsWithTolvarineDoesNotEndTheWait) {
    StandIn(0, L"Tolvarine - Main");
    Process launch = StartLauncher(LauncherFolder(L"prefix-title"));
    ASSERT_TRUE(WaitUntil([] { return ::FindWindowW(nullptr, L"Tolvarine - Main") != nullptr; }, 10000));
    EXPECT_FALSE(launch.WaitForExit(3000).has_value()) << "the wait ended on a title that only begins alike";
    EXPECT_EQ(CurrentLevel(), 1);

    // The real window then ends it, a second later.
    StandIn(0, L"Tolvarine");
    Process other(L"\"" + BinDir() + L"\\standin_app.exe\"");
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    const Events events = Timeline();
    SCOPED_TRACE(Describe(events));
    const auto level2 = FindEvent(events, "observer", "level=2");
    ASSERT_TRUE(level2.has_value());
    Events realWindows;
    for (const auto& e : events)
        if (e.text == "window title=Tolvarine") realWindows.push_back(e);
    ASSERT_EQ(realWindows.size(), 1u);
    EXPECT_GE(Milliseconds(realWindows[0], *level2), 1000.0);
}

TEST_F(LaunchTest, WindowAlreadyOpenEndsTheWaitAtOnce) {
    StandIn(0, L"Tolvarine");
    Process running(L"\"" + BinDir() + L"\\standin_app.exe\"");
    ASSERT_TRUE(WaitUntil([] { return ::FindWindowW(nullptr, L"Tolvarine") != nullptr; }, 10000));
    StandIn(20000, L"Tolvarine");  // the copy the launcher opens shows no window in time
    Process launch = StartLauncher(LauncherFolder(L"already-open"));
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    const Events events = Timeline();
    SCOPED_TRACE(Describe(events));
    // From the open (the copy it opened starting; a scan of a fresh program
    // only delays that start): the settle delay, and no wait before it.
    std::optional<Event> opened;
    for (const auto& e : events)
        if (e.source.starts_with("app") && e.text.starts_with("start")) opened = e;
    const auto level1 = FindEvent(events, "observer", "level=1");
    const auto level2 = FindEvent(events, "observer", "level=2");
    ASSERT_TRUE(opened && level1 && level2);
    EXPECT_GE(Milliseconds(*level1, *level2), 1000.0);
    EXPECT_LT(Milliseconds(*opened, *level2), 1500.0);
}

// Explorer windows showing a folder named "Tolvarine", open before the launch.
// The application's window then appears in front of them, or behind them, so
// that the walk over the titled windows meets the folder windows first.
void LaunchTest::ExpectTheWaitToPassFolderWindows(bool applicationBehind) {
    SetEnv(L"TOLVARINE_STANDIN_LOG", L"");
    SetEnv(L"TOLVARINE_STANDIN_DELAY_MS", L"0");
    SetEnv(L"TOLVARINE_STANDIN_CLASS", L"CabinetWClass");
    Process cabinet(L"\"" + BinDir() + L"\\standin_app.exe\"");
    SetEnv(L"TOLVARINE_STANDIN_CLASS", L"ExploreWClass");
    Process explore(L"\"" + BinDir() + L"\\standin_app.exe\"");
    SetEnv(L"TOLVARINE_STANDIN_CLASS", L"");
    ASSERT_TRUE(WaitUntil(
        [] { return ::FindWindowW(L"CabinetWClass", L"Tolvarine") && ::FindWindowW(L"ExploreWClass", L"Tolvarine"); },
        10000));

    StandIn(2000, L"Tolvarine");
    SetEnv(L"TOLVARINE_STANDIN_BEHIND", applicationBehind ? L"1" : L"");
    const std::wstring folder = LauncherFolder(L"folder-windows-" + name_);
    Process launch = StartLauncher(folder);
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    SetEnv(L"TOLVARINE_STANDIN_BEHIND", L"");
    ExpectSuccessfulRun(Timeline(), Utf8(folder) + "\\Tolvarine.mde");
    wchar_t firstClass[64] = {};
    ::GetClassNameW(::FindWindowW(nullptr, L"Tolvarine"), firstClass, 64);
    EXPECT_EQ(std::wstring(firstClass) == L"TolvarineStandIn", !applicationBehind) << Utf8(firstClass);
}

TEST_F(LaunchTest, ShellFolderWindowsTitledTolvarineDoNotEndTheWait) { ExpectTheWaitToPassFolderWindows(false); }

TEST_F(LaunchTest, ShellFolderWindowsInFrontOfTheApplicationsWindowAreWalkedPast) {
    ExpectTheWaitToPassFolderWindows(true);
}

// Checks the launcher's message box and the settings in force while it
// waits for the user, presses OK; returns its text. A warning comes with
// its icon, kept above every window, the application's too.
std::wstring AnswerMessageBox(long levelWhileShown, bool warning = false) {
    const auto box = WaitForMessageBox(L"Tolvarine Launcher");
    if (!box) return {};
    EXPECT_EQ(box->buttons, 1);
    EXPECT_EQ(box->icons, warning ? 1 : 0);
    EXPECT_EQ((::GetWindowLongW(box->window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, warning);
    EXPECT_EQ(box->okText, L"OK");
    EXPECT_EQ(CurrentLevel(), levelWhileShown);
    EXPECT_EQ(support::ReadTrustedLocation(), L"none");
    PressOk(*box);
    return box->text;
}

TEST_F(LaunchTest, Access2016OrLaterTrustsTheLauncherFolderOnlyWhileTheApplicationStarts) {
    AccessOpensDatabases(16);
    const std::wstring folder = LauncherFolder(L"access16 Zo\u00EB \u6587\u4EF6");
    const CheckSeen check = Check(folder);
    Process launch = StartLauncher(folder);
    const auto code = launch.WaitForExit(kRunLimit);
    EXPECT_EQ(code, 0u);
    ExpectCheckForesaw(check, code, L"ready: Access 16 (" + std::wstring(sizeof(void*) == 4 ? L"32" : L"64") +
                                        L"-bit) opens .mde files; the launcher makes this folder a trusted location");
    // Which release the PC runs, for IT's inventory.
    EXPECT_NE(check.output.find(L"\r\n  TolvarineLauncher.exe: version " TOLVARINE_VERSION_TEXT L"\r\n"), std::wstring::npos);
    const Events events = Timeline();
    ExpectSuccessfulRun(events, Utf8(folder) + "\\Tolvarine.mde");
    // At its start, under level 1, the application found its folder trusted.
    EXPECT_TRUE(FindEvent(events, "app", "trusted-location 16.0 " + Utf8(folder) + "\\").has_value());
    const auto removed = FindEvent(events, "observer", "trusted-location none");
    const auto level2 = FindEvent(events, "observer", "level=2");
    ASSERT_TRUE(removed && level2) << Describe(events);
    EXPECT_GE(removed->microseconds, level2->microseconds);
    EXPECT_EQ(support::ReadTrustedLocation(), L"none");
}

TEST_F(LaunchTest, Access2003GetsNoTrustedLocation) {
    AccessOpensDatabases(11);
    Process launch = StartLauncher(LauncherFolder(L"access11"));
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    const Events events = Timeline();
    ExpectSuccessfulRun(events, Utf8(TestRoot()) + "\\access11\\Tolvarine.mde");
    EXPECT_TRUE(FindEvent(events, "app", "trusted-location none").has_value()) << Describe(events);
    EXPECT_FALSE(FindEvent(events, "observer", "trusted-location").has_value()) << Describe(events);
}

// Access 2003 held at high by policy refuses an unsigned database, no window comes: named at once.
TEST_F(LaunchTest, Access2003HeldAtHighByPolicyIsNamedAtOnceWithExitCode5) {
    TOLVARINE_SKIP_UNLESS_ELEVATED("the policy keys are read-only to users");
    AccessOpensDatabases(11);
    StandIn(300, L"Refused");
    const DWORD high = 3;
    SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\Office\\11.0\\Access\\Security", L"Level",
                     REG_DWORD, &high, sizeof(high));
    const std::wstring folder = LauncherFolder(L"policy-high");
    const CheckSeen check = Check(folder);
    const DWORD started = ::GetTickCount();
    Process launch = StartLauncher(folder);
    const std::wstring box = AnswerMessageBox(3, true);
    EXPECT_LT(::GetTickCount() - started, 15000u);  // not the two-minute bound
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 5u);
    EXPECT_TRUE(box.starts_with(L"Access may not open Tolvarine: the policy \"Security Level\"") &&
                box.find(L"to high (3), which users cannot change, so Access opens only databases signed") !=
                    std::wstring::npos) << Utf8(box);
    ExpectCheckForesaw(check, 5u, NotReady(box));
    EXPECT_FALSE(FindEvent(Timeline(), "observer", "level=").has_value());
}

TEST_F(LaunchTest, MissingDatabaseRestoresLevel2ThenIsNamedWithExitCode1) {
    AccessOpensDatabases(16);  // whose trusted location must be gone before the box too
    const std::wstring folder = LauncherFolder(L"no-database", false);
    const CheckSeen check = Check(folder);
    Process launch = StartLauncher(folder);
    EXPECT_EQ(AnswerMessageBox(2), L"File not found");
    const auto code = launch.WaitForExit(kRunLimit);
    EXPECT_EQ(code, 1u);
    ExpectCheckForesaw(check, code, L"not ready: File not found: " + folder + L"\\Tolvarine.mde is missing.");
    const std::wstring databaseOnly = MakeTestDir(L"database-only");
    WriteEmptyFile(databaseOnly + L"\\Tolvarine.mde");
    ExpectCheckForesaw(Check(databaseOnly), 1u, L"not ready: " + databaseOnly + L"\\TolvarineLauncher.exe is missing");
    EXPECT_EQ(CurrentLevel(), 2);
    const Events events = Timeline();
    EXPECT_FALSE(FindEvent(events, "app", "start").has_value());
    // The location lives only between two quick writes here, too briefly for
    // the observer to be sure to see it: the native test pins that it is added.
    EXPECT_EQ(support::ReadTrustedLocation(), L"none");
}

// No program opens ".mde" files (with and without the database), the one it
// names is missing, or its file type has no key (an uninstalled Access's
// remains): both programs name it before anything is lowered.
TEST_F(LaunchTest, NoProgramForDatabasesIsNamedBeforeAnythingIsLoweredWithExitCode1) {
    const MachineAssociationSetAside machine;
    if (!machine.removed()) GTEST_SKIP() << "needs an elevated administrator: this PC's own .mde association";
    const std::wstring missing = TestRoot() + L"\\gone\\MSACCESS.EXE", noAssociation = L"No association for file extension";
    const struct {
        const wchar_t* folder;
        std::wstring command;  // empty: none
        bool typeWithoutKey;
        std::wstring box;      // empty: the words of either failure the shell names for an association
    } courses[] = {
        {L"no-program", L"", false, noAssociation},
        {L"no-program-no-database", L"", false, noAssociation},
        {L"program-missing", L"\"" + missing + L"\" \"%1\"", false,
         L"Incomplete or invalid file association: the program that opens .mde files is missing: " + missing},
        {L"type-without-key", L"\"" + BinDir() + L"\\standin_app.exe\" \"%1\"", true, L""},
    };
    for (const auto& course : courses) {
        SCOPED_TRACE(Utf8(course.folder));
        SetDatabaseAssociation(course.command);
        if (course.typeWithoutKey) {
            DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Classes\\TolvarineTest.Database");
            if (RunsUnderWine()) DeleteRegistryTree(HKEY_CLASSES_ROOT, L"TolvarineTest.Database");
        }
        const std::wstring folder = LauncherFolder(course.folder, course.folder != std::wstring(L"no-program-no-database"));
        const CheckSeen check = Check(folder);
        Process launch = StartLauncher(folder, 3);
        const std::wstring text = AnswerMessageBox(3);
        const auto code = launch.WaitForExit(kRunLimit);
        EXPECT_TRUE(course.box.empty() ? text == noAssociation || text.starts_with(L"Incomplete or invalid file association")
                                       : text == course.box) << Utf8(text);
        EXPECT_EQ(code, 1u);
        ExpectCheckForesaw(check, code, NotReady(text) + L": ");
    }
    const Events events = Timeline();
    EXPECT_FALSE(FindEvent(events, "observer", "level=").has_value()) << Describe(events);
    EXPECT_FALSE(FindEvent(events, "app", "start").has_value()) << Describe(events);
    EXPECT_EQ(CurrentLevel(), 3);
}

TEST_F(LaunchTest, AccessOfTheOtherEditionIsNamedAndNothingIsLoweredOrOpened) {
    AccessOpensDatabases(16, true);
    const std::wstring folder = LauncherFolder(L"other-edition");
    const CheckSeen check = Check(folder);
    Process launch = StartLauncher(folder, 3);
    const std::wstring text = AnswerMessageBox(3);
    const auto code = launch.WaitForExit(kRunLimit);
    EXPECT_EQ(code, 4u);
    ExpectCheckForesaw(check, code, NotReady(text));
    const std::wstring needed = sizeof(void*) == 4 ? L"32-bit" : L"64-bit";
    const std::wstring found = sizeof(void*) == 4 ? L"64-bit" : L"32-bit";
    EXPECT_EQ(text, L"Tolvarine needs the " + needed + L" edition of Access. The Access that opens .mde files on this "
                    L"computer (version 16) is the " + found + L" edition, which cannot open this application. "
                    L"Install the " + needed + L" edition of Microsoft Access or of the free Access Runtime, or ask "
                    L"your IT department.");
    const Events events = Timeline();
    EXPECT_FALSE(FindEvent(events, "observer", "level=").has_value()) << Describe(events);
    EXPECT_FALSE(FindEvent(events, "observer", "trusted-location").has_value()) << Describe(events);
    EXPECT_FALSE(FindEvent(events, "app", "start").has_value()) << Describe(events);
    EXPECT_EQ(CurrentLevel(), 3);
}

// Group Policy for Access 16 allows no user locations; first the last of
// several policy locations, above the launcher's folder, trusts it, then
// none does.
TEST_F(LaunchTest, PolicyLocationTrustsTheFolderElseAccessIgnoringUserLocationsIsNamedAboveTheApplication) {
    TOLVARINE_SKIP_UNLESS_ELEVATED("the policy keys are read-only to users");
    AccessOpensDatabases(16);
    const std::wstring policy = L"Software\\Policies\\Microsoft\\Office\\16.0\\";
    const std::wstring locations = policy + L"Access\\Security\\Trusted Locations\\";
    const DWORD no = 0, yes = 1;
    const auto setLocation = [&](const wchar_t* name, DWORD type, const std::wstring& path) {
        SetRegistryValue(HKEY_CURRENT_USER, locations + name, L"Path", type, path.c_str(),
                         static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        SetRegistryValue(HKEY_CURRENT_USER, locations + name, L"AllowSubfolders", REG_DWORD, &yes, sizeof(yes));
    };
    SetRegistryValue(HKEY_CURRENT_USER, policy + L"Common\\Security\\Trusted Locations", L"Allow User Locations",
                     REG_DWORD, &no, sizeof(no));
    setLocation(L"Location0", REG_SZ, L"C:\\Other\\");
    setLocation(L"Location1", REG_SZ, L"");  // names no folder
    // The tests' root, in other letter case.
    std::wstring root = TestRoot();
    ::CharUpperBuffW(root.data(), static_cast<DWORD>(root.size()));
    SetEnv(L"TOLVARINE_POLICY_FOLDER", root);
    setLocation(L"Location7", REG_EXPAND_SZ, L"%TOLVARINE_POLICY_FOLDER%\\");
    const std::wstring folder = LauncherFolder(L"policy-location");
    CheckSeen check = Check(folder);
    auto code = StartLauncher(folder).WaitForExit(kRunLimit);
    EXPECT_EQ(code, 0u);
    ExpectCheckForesaw(check, code, L"ready: Access 16 (");
    EXPECT_NE(check.verdict.find(L"a trusted location set by policy already covers this folder"), std::wstring::npos);
    // What IT reads a verdict from: each value, and where it was read.
    EXPECT_NE(check.output.find(L"\r\n  HKCU\\" + locations + L"Location7, value AllowSubfolders: 1\r\n"),
              std::wstring::npos)
        << Utf8(check.output);
    ExpectSuccessfulRun(Timeline(), Utf8(folder) + "\\Tolvarine.mde");

    const auto warned = [&] {
        check = Check(folder);
        Process launch = StartLauncher(folder);
        const std::wstring box = AnswerMessageBox(2, true);
        code = launch.WaitForExit(kRunLimit);
        EXPECT_EQ(code, 5u);
        // The check says the same, as a check that has opened nothing.
        ExpectCheckForesaw(check, code, NotReady(L"Tolvarine will open, but" + box.substr(box.find(L", but") + 5)));
        return box;
    };
    DeleteRegistryTree(HKEY_CURRENT_USER, locations + L"Location7");
    const std::wstring text = warned();
    SetEnv(L"TOLVARINE_POLICY_FOLDER", L"");
    EXPECT_TRUE(text.starts_with(L"Tolvarine has been opened, but Access may not run its code: the policy \"Allow "
                                 L"mix of policy and user locations\" (Office 16.0, set by Group Policy) is off"))
        << Utf8(text);
    EXPECT_TRUE(text.ends_with(L"\\policy-location\\")) << Utf8(text);
    const Events events = Timeline();
    EXPECT_TRUE(FindEvent(events, "observer", "launcher-exit code=5 level=2").has_value()) << Describe(events);
    EXPECT_FALSE(FindEvent(events, "observer", "trusted-location").has_value()) << Describe(events);

    // The Cloud Policy service turns user locations off where Group Policy
    // allows them: Office honours the Cloud Policy service's.
    SetRegistryValue(HKEY_CURRENT_USER, policy + L"Common\\Security\\Trusted Locations", L"Allow User Locations",
                     REG_DWORD, &yes, sizeof(yes));
    SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\Cloud\\Office\\16.0\\Common\\Security\\Trusted "
                     L"Locations", L"Allow User Locations", REG_DWORD, &no, sizeof(no));
    EXPECT_NE(warned().find(L"(Office 16.0, set by the Cloud Policy service) is off"), std::wstring::npos);
    EXPECT_NE(check.output.find(L"  Decided by: \"Allow mix of policy and user locations\": 0, set by the Cloud "
                                L"Policy service\r\n"), std::wstring::npos) << Utf8(check.output);
    EXPECT_FALSE(FindEvent(Timeline(), "observer", "trusted-location").has_value());
}

// What the launcher's look-up before level 1 costs on this PC, timed as the
// benchmark times it (lookup_time.exe, a fresh process each time), with
// Access 16 opening ".mde" files: with no policy, and with the twenty
// trusted locations Group Policy offers, the one that covers the folder read
// last. The kit prints the line (figures.txt) before its summary.
TEST_F(LaunchTest, LookUpBeforeLevel1IsTimedWithNoPolicyAndWithTwentyPolicyLocations) {
    AccessOpensDatabases(16);
    const std::wstring folder = LauncherFolder(L"look-up"), output = folder + L"\\look-up.txt";
    CopyInto(BinDir() + L"\\lookup_time.exe", folder);
    const auto median = [&] {
        std::vector<double> times(20);
        for (double& time : times) {
            EXPECT_EQ(Process(L"\"" + folder + L"\\lookup_time.exe\"", {}, output).WaitForExit(kRunLimit), 0u);
            unsigned version = 0;
            EXPECT_EQ(std::sscanf(ReadFileUtf8(output).c_str(), "%lf %u", &time, &version), 2);
            EXPECT_EQ(version, 16u);
        }
        std::ranges::sort(times);
        char figure[16];
        std::snprintf(figure, sizeof(figure), "%.1f", times[10]);
        return std::string(figure);
    };
    std::string line = "look-up before level 1 (Access 16, median of 20 runs): " + median() + " ms with no policy";
    if (IsElevated()) {  // as the benchmark sets them: user locations ignored, the first path REG_EXPAND_SZ
        const std::wstring policy = L"Software\\Policies\\Microsoft\\Office\\16.0\\";
        const DWORD no = 0, yes = 1;
        SetRegistryValue(HKEY_CURRENT_USER, policy + L"Common\\Security\\Trusted Locations", L"Allow User Locations",
                         REG_DWORD, &no, sizeof(no));
        for (int i = 1; i <= 20; ++i) {
            const std::wstring key = policy + L"Access\\Security\\Trusted Locations\\Location" + std::to_wstring(i);
            const std::wstring path = i == 1    ? L"%APPDATA%\\Microsoft\\Templates\\"
                                      : i < 20 ? L"D:\\Department " + std::to_wstring(i) + L"\\"
                                               : TestRoot() + L"\\";
            SetRegistryValue(HKEY_CURRENT_USER, key, L"Path", i == 1 ? REG_EXPAND_SZ : REG_SZ, path.c_str(),
                             static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
            SetRegistryValue(HKEY_CURRENT_USER, key, L"AllowSubfolders", REG_DWORD, &yes, sizeof(yes));
        }
        ExpectCheckForesaw(Check(folder), 0u, L"ready: Access 16 (");  // through to the covering one
        line += ", " + median() + " ms with twenty policy locations";
    } else {
        line += "; with twenty policy locations: not timed (the policy keys need an elevated administrator)";
    }
    EXPECT_TRUE(std::ofstream(std::filesystem::path(TestRoot() + L"\\figures.txt"), std::ios::app) << line << "\r\n");
}

// Before the rollout: the folder the package will install to, which does
// not exist yet, judged as the launcher will judge it, creating nothing;
// with no folder, the package's own default.
TEST_F(LaunchTest, CheckBeforeTheInstallJudgesTheFolderToBeAndCreatesNothing) {
    const std::wstring folder = TestRoot() + L"\\to-be-installed";
    AccessOpensDatabases(16);
    ExpectCheckForesaw(Check(folder, true), 0u, L"ready: Access 16 (");
    if (IsElevated()) {  // the policy keys are read-only to users
        const DWORD no = 0;
        SetRegistryValue(HKEY_CURRENT_USER,
                         L"Software\\Policies\\Microsoft\\Office\\16.0\\Common\\Security\\Trusted Locations",
                         L"Allow User Locations", REG_DWORD, &no, sizeof(no));
        ExpectCheckForesaw(Check(folder, true), 5u, L"not ready: Once installed, Tolvarine will open, but Access may not run");
        DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Policies\\Microsoft\\Office");
    }
    AccessOpensDatabases(16, true);
    ExpectCheckForesaw(Check(folder, true), 4u, L"not ready: Tolvarine needs the ");
    EXPECT_EQ(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);

    wchar_t localAppData[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, localAppData)));
    // By default the folder this user's earlier install chose, else the package's own.
    const std::wstring installer = L"Software\\Tolvarine\\Installer", remembered = TestRoot() + L"\\remembered\\";
    DeleteRegistryTree(HKEY_CURRENT_USER, installer);
    for (const std::wstring& judged : {std::wstring(localAppData) + L"\\Programs\\Tolvarine", remembered.substr(0, remembered.size() - 1)}) {
        const std::wstring output = Check({}, true).output;
        EXPECT_NE(output.find(L"Folder judged, before the install (it need not exist yet): " + judged + L"\r\n"), std::wstring::npos) << Utf8(output);
        SetRegistryValue(HKEY_CURRENT_USER, installer, L"InstallFolder", REG_SZ, remembered.c_str(),
                         static_cast<DWORD>((remembered.size() + 1) * sizeof(wchar_t)));
    }
}

TEST_F(LaunchTest, LauncherAtADriveRootOpensItsDatabase) {
    const std::wstring drive = TestDrive();
    ASSERT_FALSE(drive.empty()) << "no drive letter could be made for the run";
    CopyInto(BinDir() + L"\\TolvarineLauncher.exe", drive + L"\\");
    WriteEmptyFile(drive + L"\\Tolvarine.mde");
    Process launch = StartLauncher(drive);  // the observer is given "X:\TolvarineLauncher.exe"
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    // The launcher hands the shell "X:\\Tolvarine.mde"; the shell gives the
    // application the path with the doubled backslash collapsed.
    ExpectSuccessfulRun(Timeline(), Utf8(drive) + "\\Tolvarine.mde");
}

TEST_F(LaunchTest, LauncherInAFolderNamedOutsideTheAnsiCodePageOpensItsDatabase) {
    const std::wstring folder = LauncherFolder(L"launcher Zo\u00EB \u00DCn\u00EFcode \u6587\u4EF6 \u043F\u0430\u043F\u043A\u0430");
    Process launch = StartLauncher(folder);
    EXPECT_EQ(launch.WaitForExit(kRunLimit), 0u);
    ExpectSuccessfulRun(Timeline(), Utf8(folder) + "\\Tolvarine.mde");
}

TEST_F(LaunchTest, TwoLaunchersStartedTogetherBothSucceed) {
    const std::wstring folder = LauncherFolder(L"together");
    Process first = StartLauncher(folder);
    Process second = StartLauncher(folder);
    EXPECT_EQ(first.WaitForExit(kRunLimit), 0u);
    EXPECT_EQ(second.WaitForExit(kRunLimit), 0u);
    EXPECT_EQ(CurrentLevel(), 2);
}

}  // namespace
}  // namespace tolvarine::windows_test
