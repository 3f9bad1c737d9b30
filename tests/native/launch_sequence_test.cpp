// The launch sequence against the fake: on each course a run can take, its
// exit code, its box, what it lowered, and what every run must keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

#include "check/readiness_check.h"
#include "launch_plan/database_access.h"
#include "launch_plan/folder_trust.h"
#include "launch_plan/shell_error_text.h"
#include "launcher/module1.h"
#include "platform/association_answer.h"
#include "tests/native/fake_platform.h"

namespace tolvarine::testing {
namespace {

// The shell's answer when this program opens ".mde" files.
AssociatedProgram ProgramOpening(std::wstring path) { return {AssociatedProgram::Answer::Program, std::move(path)}; }

// The outcome as the exit code that deployment scripts read; 3 for an
// error, which the program entry reports.
int ExitCode(FakePlatform& platform) {
    try {
        return static_cast<int>(LaunchMain(platform, platform));
    } catch (const Error&) {
        return kExitCodeError;
    }
}

bool Made(const FakePlatform& platform, std::wstring_view call) {
    return std::ranges::any_of(platform.calls, [&](const std::wstring& made) { return made.starts_with(call); });
}

// What every run keeps, whatever its course: the trusted location added
// before level 1; level 2 written at least a second after the
// application's window was found; the location removed after level 2;
// both put back before any box; nothing left lowered.
void ExpectNothingLeftLowered(const FakePlatform& platform) {
    const auto& calls = platform.calls;
    const auto where = [&](auto matches) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (matches(calls[i])) at.push_back(i);
        return at;
    };
    const auto starting = [](std::wstring_view start) {
        return [start](const std::wstring& call) { return call.starts_with(start); };
    };
    const auto level = [](int n) {
        return [n](const std::wstring& call) {
            return call.starts_with(L"RegSetValueExA(") &&
                   call.find(L", Level, 4, [0" + std::to_wstring(n) + L" ") != std::wstring::npos;
        };
    };
    const auto lowered = where(level(1)), restored = where(level(2));
    const auto added = where(starting(L"WriteVolatileRegistryKey(")), removed = where(starting(L"DeleteRegistryKey("));
    const auto boxes = where(starting(L"Show")), window = where(starting(L"GetClassNameW(0x20020)"));
    ASSERT_LE(lowered.size(), 1u);
    ASSERT_EQ(restored.size(), lowered.size());
    ASSERT_EQ(removed.size(), added.size());
    ASSERT_LE(added.size(), 1u);
    EXPECT_TRUE(lowered.empty() || lowered[0] < restored[0]);
    EXPECT_TRUE(added.empty() || lowered.empty() || added[0] < lowered[0]);
    EXPECT_TRUE(removed.empty() || restored.empty() || removed[0] > restored[0]);
    for (const std::size_t box : boxes)
        EXPECT_TRUE((restored.empty() || box > restored[0]) && (removed.empty() || box > removed[0]));
    EXPECT_TRUE(window.empty() || restored.empty() ||
                platform.callTicks[restored[0]] - platform.callTicks[window[0]] >= kSettleDelayMilliseconds);
    // Nothing is read while the settings are lowered: that would only lengthen the time.
    const std::size_t from = std::min(added.empty() ? calls.size() : added[0], lowered.empty() ? calls.size() : lowered[0]);
    const std::size_t to = std::max(removed.empty() ? 0 : removed[0], restored.empty() ? 0 : restored[0]);
    for (const std::size_t read : platform.readsAt) EXPECT_FALSE(read > from && read <= to) << "a read at call " << read;
}

// Each way a run ends, with Access 2003's level or an Access 2007 or later
// Trust Center, and each program the shell may name for ".mde" files.
TEST(LaunchMain, EachCourseEndsWithItsCodeAndBoxAndLeavesNothingLowered) {
    const AssociatedProgram access = ProgramOpening(L"C:\\Office\\MSACCESS.EXE");
    const auto opening = [](AssociatedProgram program, std::optional<std::uint16_t> version,
                            std::optional<std::uint16_t> machine = std::nullopt) {
        return [=](FakePlatform& platform) {
            platform.associatedProgram = program;
            platform.executableVersion = version;
            platform.executableMachine = machine;
        };
    };
    const auto access16 = opening(access, 16, kApplicationMachine);
    const auto both = [](auto first, auto second) { return [=](FakePlatform& p) { first(p); second(p); }; };
    const std::uint16_t otherMachine = kApplicationMachine == kMachineX86 ? kMachineX64 : kMachineX86;
    const struct {
        const char* course;
        std::function<void(FakePlatform&)> setUp;
        int exitCode;
        std::wstring box;  // words of the one box shown; empty: none
        bool levelWritten;
        bool locationAdded;
    } courses[] = {
        {"the window after three polls", [](FakePlatform& p) { p.pollsBeforeWindow = 3; }, 0, L"", true, false},
        {"shell folder windows titled Tolvarine are not the application's",
         [](FakePlatform& p) { p.folderWindows = {0x30030, 0x40040}; p.pollsBeforeWindow = 1; }, 0, L"", true, false},
        {"an open result above 32 is success", [](FakePlatform& p) { p.shellResult = 33; }, 0, L"", true, false},
        {"32 is a failure", [](FakePlatform& p) { p.shellResult = 32; }, 1, L"DLL not found", true, false},
        {"2", [](FakePlatform& p) { p.shellResult = 2; }, 1, L"File not found", true, false},
        {"0", [](FakePlatform& p) { p.shellResult = 0; }, 1, L"Unknown error", true, false},
        {"INT32_MIN", [](FakePlatform& p) { p.shellResult = INT32_MIN; }, 1, L"Unknown error", true, false},
        {"no window within 120 seconds, the tick count wrapping",
         [](FakePlatform& p) { p.pollsBeforeWindow = 1'000'000'000; p.tick = 0xFFFFFF00u; p.tickPerCall = 50; }, 2, L"",
         true, false},
        {"the window just before the bound",
         [](FakePlatform& p) { p.tickPerCall = 1000; p.pollsBeforeWindow = 119; }, 0, L"", true, false},
        {"failing registry calls change nothing",
         [](FakePlatform& p) { p.createKeyStatus = 5; p.setValueStatus = 5; p.closeKeyStatus = 6; }, 0, L"", true, false},
        {"at a drive root", [](FakePlatform& p) { p.launcherDirectory = L"Q:\\"; }, 0, L"", true, false},
        // Access 2007 and later: the trusted location as well.
        {"Access 12, its machine unreadable", opening(ProgramOpening(L"C:\\Office12\\msaccess.exe"), 12), 0, L"", true,
         true},
        {"Access 16, the open failing at a drive root",
         both(access16, [](FakePlatform& p) { p.launcherDirectory = L"Q:\\"; p.shellResult = 2; }), 1, L"File not found",
         true, true},
        {"Access 16, no window", both(access16, [](FakePlatform& p) { p.pollsBeforeWindow = 1'000'000'000; p.tickPerCall = 50; }),
         2, L"", true, true},
        {"Access 16, an error from the window search",
         both(access16, [](FakePlatform& p) { p.windowSearchError = Error(8, L"Not enough memory."); }), 3, L"", true, true},
        {"Access 16, whose Trust Center would ignore the location, the open failing: its own box alone",
         both(access16, [](FakePlatform& p) {
             p.shellResult = 2;
             p.registry = {{L"Software\\Policies\\Microsoft\\Office\\16.0\\Common\\Security\\Trusted Locations",
                            L"Allow User Locations", 0u}};
         }),
         1, L"File not found", true, false},
        // No location where no Access 2007 or later opens the database;
        // nor is a program refused that the shell may yet run though no
        // file is there: a name alone, and one installed on first use.
        {"another program", opening(ProgramOpening(L"C:\\Apps\\viewer.exe"), 16), 0, L"", true, false},
        {"an Access whose version cannot be read", opening(access, std::nullopt), 0, L"", true, false},
        {"Access 2003", opening(access, 11), 0, L"", true, false},
        {"a name alone, not there",
         both(opening(ProgramOpening(L"MSACCESS.EXE"), 16), [](FakePlatform& p) { p.associatedProgramMissing = true; }), 0,
         L"", true, false},
        {"installed on first use, not there",
         both(opening({access.answer, access.path, true}, std::nullopt), [](FakePlatform& p) { p.associatedProgramMissing = true; }),
         0, L"", true, false},
        // Stops before anything is lowered or opened.
        {"no program opens .mde files", opening({AssociatedProgram::Answer::NoProgram, {}}, std::nullopt), 1,
         L"No association for file extension", false, false},
        {"the program that opens them is missing",
         both(opening(access, 16), [](FakePlatform& p) { p.associatedProgramMissing = true; }), 1,
         L"Incomplete or invalid file association: the program that opens .mde files is missing: C:\\Office\\MSACCESS.EXE",
         false, false},
        {"an Access of the other edition", opening(access, 16, otherMachine), 4, L"(version 16) is the ", false, false},
        {"an error finding the launcher's folder",
         [](FakePlatform& p) { p.launcherDirectoryError = Error(5, L"Access is denied."); }, 3, L"", false, false},
    };
    for (const auto& c : courses) {
        SCOPED_TRACE(c.course);
        FakePlatform platform;
        c.setUp(platform);
        EXPECT_EQ(ExitCode(platform), c.exitCode);
        ExpectNothingLeftLowered(platform);
        const auto shows = [](const std::wstring& call) { return call.starts_with(L"Show"); };
        const auto box = std::ranges::find_if(platform.calls, shows);
        EXPECT_EQ(std::ranges::count_if(platform.calls, shows), c.box.empty() ? 0 : 1);
        EXPECT_TRUE(box == platform.calls.end() ||
                    (box->starts_with(L"ShowMessageBox(") && box->find(c.box) != std::wstring::npos)) << *box;
        // The window is told from the shell's folder windows by its class, once it is there.
        EXPECT_EQ(Made(platform, L"GetClassNameW(0x20020)"), c.exitCode == 0 && c.levelWritten);
        EXPECT_EQ(Made(platform, L"RegSetValueExA("), c.levelWritten);
        EXPECT_EQ(Made(platform, L"ShellExecuteW("), c.levelWritten);
        if (c.levelWritten) {
            // The suffix is appended as it is: at a drive root, two backslashes.
            EXPECT_TRUE(Made(platform, L"ShellExecuteW(0x10010, Open, " + platform.launcherDirectory +
                                           L"\\Tolvarine.mde, \"\", C:\\, 1)"));
        }
        EXPECT_EQ(Made(platform, L"WriteVolatileRegistryKey("), c.locationAdded);
        if (c.locationAdded) {
            const std::wstring locations = L"Software\\Microsoft\\Office\\" +
                                           std::to_wstring(*platform.executableVersion) +
                                           L".0\\Access\\Security\\Trusted Locations";
            std::wstring folder = platform.launcherDirectory;
            if (!folder.ends_with(L'\\')) folder += L'\\';
            EXPECT_TRUE(Made(platform, L"WriteVolatileRegistryKey(0x80000001, " + locations + L", Tolvarine, Path=REG_SZ:" +
                                           folder + L", AllowSubfolders=REG_DWORD:0, Description=REG_SZ:Tolvarine, "
                                                    L"while the launcher starts it)"));
            EXPECT_TRUE(Made(platform, L"DeleteRegistryKey(0x80000001, " + locations + L"\\Tolvarine)"));
        }
        // The wait ends at the bound, neither before nor long after.
        if (c.exitCode == 2) {
            const auto open = std::ranges::find_if(platform.calls, [](auto& call) { return call.starts_with(L"Shell"); });
            const std::uint32_t waited =
                platform.callTicks.back() - platform.callTicks[static_cast<std::size_t>(open - platform.calls.begin())];
            EXPECT_GE(waited, kWindowWaitLimitMilliseconds);
            EXPECT_LT(waited, kWindowWaitLimitMilliseconds + kSettleDelayMilliseconds);
        }
    }
}

TEST(ShellErrorText, NamesEachListedFailureAndCallsEveryOtherUnknown) {
    const std::map<std::int32_t, std::wstring_view> listed = {
        {2, L"File not found"},
        {3, L"Path not found"},
        {5, L"Access denied"},
        {8, L"Out of memory"},
        {11, L"Invalid EXE file or error in EXE image"},
        {26, L"A sharing violation occurred"},
        {27, L"Incomplete or invalid file association"},
        {28, L"DDE Time out"},
        {29, L"DDE transaction failed"},
        {30, L"DDE busy"},
        {31, L"No association for file extension"},
        {32, L"DLL not found"},
    };
    for (std::int32_t result = -3; result <= 32; ++result) {
        const auto text = listed.find(result);
        EXPECT_EQ(ShellErrorText(result), text == listed.end() ? L"Unknown error" : text->second) << result;
    }
    EXPECT_EQ(ShellErrorText(INT32_MIN), L"Unknown error");
}

// Each answer a shell may give the look-up, in turn, and the flags and
// strings it was asked with: Wine accepts the flag and has no catch-all, so
// only this sees the look-up take Windows' picker for a program, or a shell
// that refuses the flag not asked again.
TEST(ReadAssociation, ReadsEachAnswerAShellGivesFromXpTo11) {
    using namespace association;
    struct Reply { std::int32_t result; std::wstring text = {}; };  // the text: the string given with S_OK
    const std::uint32_t all = kNoTruncate | kIgnoreUnknown, exe = all | kExecutable, command = all | kCommand;
    const std::wstring access = L"C:\\Office\\MSACCESS.EXE", longPath = L"C:\\" + std::wstring(400, L'x') + L".exe";
    const AssociatedProgram none = {AssociatedProgram::Answer::NoProgram, {}}, unknown;
    const struct {
        std::vector<Reply> replies;
        AssociatedProgram expected;
        std::vector<std::uint32_t> asked;  // flags | the string asked for
    } cases[] = {
        {{{kOk, access}}, ProgramOpening(access), {exe}},
        {{{kNoAssociation}}, none, {exe}},
        {{{kFileNotFound}, {kFileNotFound}}, none, {exe, command}},  // Windows XP
        {{{kFail}}, unknown, {exe}},  // no meaning documented: the shell decides
        {{{kFileNotFound}, {kFail}}, unknown, {exe, command}},
        {{{kOk, L"C:\\Windows\\system32\\openwith.EXE"}}, none, {exe}},
        // A command whose program the shell could not find: that program.
        {{{kFileNotFound}, {kOk, L"C:\\Missing Dir\\MSACCESS.EXE /x \"%1\""}},
         ProgramOpening(L"C:\\Missing Dir\\MSACCESS.EXE"), {exe, command}},
        {{{kFileNotFound}, {kOk, L"\"C:\\Gone\\a.exe\" \"%1\""}}, ProgramOpening(L"C:\\Gone\\a.exe"), {exe, command}},
        {{{kFileNotFound}, {kOk, L"CeoAccess.exe \"%1\""}}, ProgramOpening(L"CeoAccess.exe"), {exe, command}},
        // A shell older than the flag refuses it: asked again without it, once.
        {{{kInvalidArg}, {kOk, access}}, ProgramOpening(access), {exe, kNoTruncate | kExecutable}},
        {{{kInvalidArg}, {kInvalidArg}}, unknown, {exe, kNoTruncate | kExecutable}},
        {{{kOk, longPath}}, ProgramOpening(longPath), {exe, exe}},  // first E_POINTER, then room
        {{{static_cast<std::int32_t>(0x80070005u)}}, unknown, {exe}},
    };
    for (int row = 0; const auto& c : cases) {
        std::vector<std::uint32_t> asked;
        std::size_t next = 0;  // the reply to give
        const auto query = [&](std::uint32_t flags, int string, std::span<wchar_t> buffer, std::uint32_t& length) {
            asked.push_back(flags | static_cast<std::uint32_t>(string));
            EXPECT_EQ(length, buffer.size());
            const Reply reply = next < c.replies.size() ? c.replies[next] : Reply{kFail};
            if (reply.result == kOk && reply.text.size() >= buffer.size()) {
                length = static_cast<std::uint32_t>(reply.text.size() + 1);
                return kPointer;
            }
            ++next;
            std::ranges::copy(reply.text, buffer.begin());
            buffer[reply.text.size()] = L'\0';
            return reply.result;
        };
        EXPECT_EQ(ReadAssociation(query), c.expected) << "row " << row;
        EXPECT_EQ(asked, c.asked) << "row " << row++;
    }
}

const std::wstring kPolicy = L"Software\\Policies\\Microsoft\\Office\\16.0";
const std::wstring kAccessLocations = L"\\Access\\Security\\Trusted Locations";
const std::wstring kUserMix = L"\\Common\\Security\\Trusted Locations";

TEST(FolderTrust, PoliciesThenTheUsersOwnSettingsDecideAsOfficeReadsThem) {
    const std::wstring policy = kPolicy + kAccessLocations, location = policy + L"\\IT", noMix = kPolicy + kUserMix;
    const std::wstring user = L"Software\\Microsoft\\Office\\16.0" + kAccessLocations;
    const std::wstring cloud = L"Software\\Policies\\Microsoft\\Cloud\\Office\\";
    const wchar_t* local = L"C:\\Apps\\Tolvarine";
    using F = FolderTrust;
    const struct {
        std::uint16_t version;
        const wchar_t* folder;  // "Q:\\" is a network drive
        std::vector<FakePlatform::StoredValue> values;
        FolderTrust expected;
    } cases[] = {
        {16, local, {}, F::NeedsLocation},
        {16, local, {{policy, L"AllLocationsDisabled", 1u}}, F::AllLocationsDisabled},
        {16, local, {{user, L"alllocationsdisabled", 1u}}, F::AllLocationsDisabledByUser},
        {16, local, {{policy, L"AllLocationsDisabled", 0u}, {user, L"AllLocationsDisabled", 1u}}, F::NeedsLocation},
        {16, L"\\\\server\\share\\Tolvarine", {}, F::NetworkNotAllowed},
        {16, L"\\\\?\\UNC\\server\\share", {}, F::NetworkNotAllowed},
        {16, L"Q:\\", {{user, L"AllowNetworkLocations", 1u}}, F::NeedsLocation},
        {16, L"Q:\\", {{cloud + L"16.0" + kAccessLocations, L"AllowNetworkLocations", 0u}, {user, L"AllowNetworkLocations", 1u}},
         F::NetworkNotAllowed},
        {16, L"Q:\\", {{location, L"Path", L"Q:\\"}}, F::NetworkNotAllowed},
        {16, local, {{noMix, L"allow user locations", 0u}}, F::UserLocationsNotAllowed},
        {15, local, {{cloud + L"15.0" + kUserMix, L"Allow User Locations", 0u}}, F::NeedsLocation},
        // Policy locations: the folder itself, or one above it with its subfolders.
        {16, local, {{noMix, L"Allow User Locations", 0u}, {location, L"Path", L"c:\\apps\\TOLVARINE"}}, F::TrustedByPolicy},
        {16, local, {{location, L"Path", L"C:\\Apps\\"}, {location, L"AllowSubfolders", 1u}}, F::TrustedByPolicy},
        {16, local, {{noMix, L"Allow User Locations", 0u}, {location, L"Path", L"C:\\Apps\\"}}, F::UserLocationsNotAllowed},
        {16, local, {{noMix, L"Allow User Locations", 0u}, {location, L"Path", L"C:\\App"}, {location, L"AllowSubfolders", 1u}},
         F::UserLocationsNotAllowed},
        // Several policy locations, the covering one last; one with an empty
        // path names no folder, not even every network folder.
        {16, L"\\\\server\\share\\Tolvarine",
         {{user, L"AllowNetworkLocations", 1u}, {noMix, L"Allow User Locations", 0u}, {location, L"Path", L"C:\\Other"},
          {location + L"2", L"Path", L""}, {location + L"2", L"AllowSubfolders", 1u},
          {location + L"3", L"Path", L"\\\\server\\share\\tolvarine\\"}},
         F::TrustedByPolicy},
        {16, L"\\\\server\\share\\Tolvarine",
         {{user, L"AllowNetworkLocations", 1u}, {noMix, L"Allow User Locations", 0u}, {location, L"Path", L"C:\\Other"},
          {location + L"2", L"Path", L""}, {location + L"2", L"AllowSubfolders", 1u}},
         F::UserLocationsNotAllowed},
    };
    int row = 0;
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.registry = c.values;
        platform.networkDrives = c.folder == std::wstring_view(L"Q:\\");
        EXPECT_EQ(JudgeFolderTrust(platform, c.version, c.folder).trust, c.expected) << "row " << row++;
    }
}

// Which policy Office honours where several set a value, and Access 2003's
// level set by policy: the decision, the exit code, and whether the
// launcher adds its location and writes the level.
TEST(LaunchMain, PoliciesDecideInOfficesOrderAndNothingOfficeWouldIgnoreIsWritten) {
    const std::wstring cloud = L"Software\\Policies\\Microsoft\\Cloud\\Office\\16.0", access = kAccessLocations;
    const std::wstring everyApp = kUserMix + L"\\All Applications\\Location1", mix = L"Allow User Locations";
    const std::wstring level2003 = L"Software\\Policies\\Microsoft\\Office\\11.0\\Access\\Security";
    using Values = std::vector<FakePlatform::StoredValue>;
    const auto groupThenCloud = [&](const std::wstring& key, const std::wstring& name, std::uint32_t group,
                                    std::uint32_t ours) { return Values{{kPolicy + key, name, group}, {cloud + key, name, ours}}; };
    using F = FolderTrust;
    const struct {
        std::uint16_t version;
        Values values;
        bool networkDrive;
        F trust;                                // Access 16's decision
        std::optional<std::uint32_t> enforced;  // Access 2003's
        int exitCode;
    } cases[] = {
        {16, {}, false, F::NeedsLocation, {}, 0},
        {16, groupThenCloud(kUserMix, mix, 1, 0), false, F::UserLocationsNotAllowed, {}, 5},
        {16, groupThenCloud(kUserMix, mix, 0, 1), false, F::NeedsLocation, {}, 0},
        {16, groupThenCloud(access, L"AllLocationsDisabled", 0, 1), false, F::AllLocationsDisabled, {}, 5},
        {16, groupThenCloud(access, L"AllLocationsDisabled", 1, 0), false, F::NeedsLocation, {}, 0},
        {16, groupThenCloud(access, L"AllowNetworkLocations", 1, 0), true, F::NetworkNotAllowed, {}, 5},
        {16, groupThenCloud(access, L"AllowNetworkLocations", 0, 1), true, F::NeedsLocation, {}, 0},
        // Office-wide locations, in each branch; a location of the same
        // name that the Cloud Policy service sets replaces Group Policy's.
        {16, {{kPolicy + kUserMix, mix, 0u}, {kPolicy + everyApp, L"Path", L"C:\\Apps\\Tolvarine\\"}}, false,
         F::TrustedByPolicy, {}, 0},
        {16, {{cloud + kUserMix, mix, 0u}, {cloud + everyApp, L"Path", L"C:\\Apps"}, {cloud + everyApp, L"AllowSubfolders", 1u}},
         false, F::TrustedByPolicy, {}, 0},
        {16, {{kPolicy + kUserMix, mix, 0u}, {kPolicy + access + L"\\L1", L"Path", L"C:\\Apps\\Tolvarine"},
              {cloud + access + L"\\l1", L"Path", L"D:\\Other"}}, false, F::UserLocationsNotAllowed, {}, 5},
        {11, {}, false, F::NeedsLocation, {}, 0},
        {11, {{level2003, L"Level", 1u}}, false, F::NeedsLocation, 1u, 0},
        {11, {{level2003, L"Level", 2u}}, false, F::NeedsLocation, 2u, 5},
        {11, {{level2003, L"Level", 3u}}, false, F::NeedsLocation, 3u, 5},
        {11, {{level2003, L"Level", 4u}}, false, F::NeedsLocation, 4u, 5},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(row++));
        FakePlatform planned, launched;
        for (FakePlatform* platform : {&planned, &launched}) {
            platform->registry = c.values;
            platform->networkDrives = c.networkDrive;
            platform->launcherDirectory = c.networkDrive ? L"Q:\\Tolvarine" : L"C:\\Apps\\Tolvarine";
            platform->associatedProgram = ProgramOpening(L"C:\\Office\\MSACCESS.EXE");
            platform->executableVersion = c.version;
        }
        const LaunchPlan plan = PlanLaunch(planned, planned.launcherDirectory);
        const auto* trustCenter = std::get_if<TrustCenterCourse>(&plan.course);
        const auto* level = std::get_if<AccessLevelCourse>(&plan.course);
        EXPECT_EQ(trustCenter ? trustCenter->folder.trust : F::NeedsLocation, c.trust);
        EXPECT_EQ(level ? level->enforcedLevel : std::nullopt, c.enforced);
        EXPECT_EQ(ExitCode(launched), c.exitCode);
        ExpectNothingLeftLowered(launched);
        const auto made = [&](const wchar_t* call) { return Made(launched, call); };
        EXPECT_EQ(made(L"WriteVolatileRegistryKey"), c.version == 16 && c.trust == F::NeedsLocation);
        EXPECT_EQ(made(L"RegSetValueExA"), !c.enforced);
        EXPECT_EQ(made(L"ShowWarningOnTop("), c.exitCode == 5);
        // At high, or a level Access 2003 lacks, no window is awaited: the box comes at once.
        EXPECT_EQ(made(L"FindWindowExA"), c.enforced.value_or(1) <= 2);
    }
}

// The check's own courses; the others it shares with the launcher run under Wine.
TEST(RunCheck, ItsOwnCoursesEndWithTheirExitCodes) {
    FakePlatform service;
    service.serviceAccount = true;
    const CheckReport asService = RunCheck(service, {});
    EXPECT_EQ(asService.exitCode, kCheckExitServiceAccount);
    EXPECT_TRUE(asService.text.starts_with(L"not judged: ")) << asService.text;
    EXPECT_TRUE(service.readsAt.empty());  // nothing else read

    const std::wstring usage = L"usage: TolvarineCheck.exe [--before-install] [folder]: ";
    const std::tuple<std::vector<std::wstring>, int, std::wstring> courses[] = {
        {{L"C:\\Apps", L"more"}, kCheckExitUsage, usage}, {{L"X:\\Apps"}, kCheckExitUsage, usage},
        {{L"--before-install", L"sub\\Tolvarine"}, kCheckExitUsage, usage},
        {{L"--before-install", L"C:Tolvarine"}, kCheckExitUsage, usage},  // relative to the drive's current folder
        // The look-up failed for a reason it does not name: never ready to a tool that reads the exit code.
        {{}, 1, L"not ready: Windows did not say which program opens .mde files"}};
    for (const auto& [arguments, exitCode, verdictStart] : courses) {
        FakePlatform platform;
        platform.files = {L"C:\\Apps\\Tolvarine\\TolvarineLauncher.exe", L"C:\\Apps\\Tolvarine\\Tolvarine.mde"};
        const CheckReport report = RunCheck(platform, arguments);
        EXPECT_EQ(report.exitCode, exitCode) << report.text;
        EXPECT_TRUE(report.text.starts_with(verdictStart)) << report.text;
        EXPECT_TRUE(exitCode != kCheckExitUsage || std::ranges::count(report.text, L'\n') == 1) << report.text;
    }
}

}  // namespace
}  // namespace tolvarine::testing
