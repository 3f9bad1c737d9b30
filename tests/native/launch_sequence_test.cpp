// The launch sequence against the fake: the exact order of platform calls
// on each course a run can take.
#include <gtest/gtest.h>

#include <algorithm>
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

using Calls = std::vector<std::wstring>;

Calls Concat(std::initializer_list<Calls> parts) {
    Calls all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The shell's answer when this program opens ".mde" files.
AssociatedProgram ProgramOpening(std::wstring path) { return {AssociatedProgram::Answer::Program, std::move(path)}; }

// The outcome as the exit code that deployment scripts read.
int ExitCode(FakePlatform& platform) { return static_cast<int>(LaunchMain(platform, platform)); }

const std::wstring kLookUp = L"FindAssociatedExecutable(.mde, open)";
const std::wstring kPoll = L"FindWindowExA(0x0, Tolvarine)";
const Calls kWindowFound = {kPoll, L"GetClassNameW(0x20020)"};

const std::wstring kOpen =
    L"ShellExecuteW(0x10010, Open, C:\\Apps\\Tolvarine\\Tolvarine.mde, \"\", C:\\, 1)";

TEST(LaunchMain, SuccessfulRunPollsForTheWindowThenSettlesAndRestoresLevel2) {
    FakePlatform platform;
    platform.pollsBeforeWindow = 3;
    EXPECT_EQ(ExitCode(platform), 0);
    EXPECT_EQ(platform.calls, Concat({{L"GetLauncherDirectory()", kLookUp},
                                      LevelWrite(1),
                                      {L"GetDesktopWindow()", kOpen, L"GetTickCount()"},
                                      {kPoll, L"GetTickCount()", L"Sleep(0)"},
                                      {kPoll, L"GetTickCount()", L"Sleep(0)"},
                                      {kPoll, L"GetTickCount()", L"Sleep(0)"},
                                      kWindowFound,
                                      {L"Sleep(1000)"},
                                      LevelWrite(2)}));
}

TEST(LaunchMain, WindowAlreadyOpenEndsTheWaitAtTheFirstPoll) {
    FakePlatform platform;
    EXPECT_EQ(ExitCode(platform), 0);
    const Calls tail(platform.calls.end() - 6, platform.calls.end());
    EXPECT_EQ(tail, Concat({kWindowFound, {L"Sleep(1000)"}, LevelWrite(2)}));
}

TEST(LaunchMain, ShellFolderWindowsTitledTolvarineDoNotEndTheWait) {
    FakePlatform platform;
    platform.folderWindows = {0x30030, 0x40040};
    platform.pollsBeforeWindow = 1;
    EXPECT_EQ(ExitCode(platform), 0);
    // Each poll walks past the folder windows; the second finds the application's.
    const Calls folders = {L"GetClassNameW(0x30030)", L"FindWindowExA(0x30030, Tolvarine)",
                           L"GetClassNameW(0x40040)", L"FindWindowExA(0x40040, Tolvarine)"};
    const Calls expected = Concat({{kPoll}, folders, {L"GetTickCount()", L"Sleep(0)", kPoll}, folders,
                                   {L"GetClassNameW(0x20020)", L"Sleep(1000)"}, LevelWrite(2)});
    EXPECT_EQ(Calls(platform.calls.end() - expected.size(), platform.calls.end()), expected);
}

TEST(LaunchMain, OpenResultAbove32IsSuccessAnd32OrLessIsFailure) {
    FakePlatform opened;
    opened.shellResult = 33;
    EXPECT_EQ(ExitCode(opened), 0);

    FakePlatform failed;
    failed.shellResult = 32;
    EXPECT_EQ(ExitCode(failed), 1);
}

TEST(LaunchMain, FailedOpenRestoresLevel2ThenNamesTheFailureAndEnds) {
    const std::pair<std::int32_t, const wchar_t*> courses[] = {
        {2, L"File not found"}, {32, L"DLL not found"}, {0, L"Unknown error"}, {INT32_MIN, L"Unknown error"}};
    for (const auto& [result, text] : courses) {
        FakePlatform platform;
        platform.shellResult = result;
        EXPECT_EQ(ExitCode(platform), 1) << result;
        EXPECT_EQ(platform.calls, Concat({{L"GetLauncherDirectory()", kLookUp},
                                          LevelWrite(1),
                                          {L"GetDesktopWindow()", kOpen},
                                          LevelWrite(2),
                                          {L"ShowMessageBox(" + std::wstring(text) + L")"}}))
            << result;
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

TEST(LaunchMain, WaitEndsAfter120SecondsWithLevel2) {
    FakePlatform platform;
    platform.pollsBeforeWindow = 1'000'000'000;
    platform.tick = 0xFFFFFF00u;  // the tick count wraps during the wait
    platform.tickPerCall = 50;
    EXPECT_EQ(ExitCode(platform), 2);
    const Calls tail(platform.calls.end() - 5, platform.calls.end());
    EXPECT_EQ(tail, Concat({{kPoll, L"GetTickCount()"}, LevelWrite(2)}));
    // Clock readings 50 ms apart from the start: the last is the first at 120 s or more.
    const auto polls = std::count(platform.calls.begin(), platform.calls.end(), kPoll);
    EXPECT_EQ(polls, 120'000 / 50);
}

TEST(LaunchMain, WindowFoundJustBeforeTheBoundStillCountsAsOpened) {
    FakePlatform platform;
    platform.tickPerCall = 1000;
    platform.pollsBeforeWindow = 119;
    EXPECT_EQ(ExitCode(platform), 0);
}

TEST(LaunchMain, FailingRegistryCallsDoNotChangeTheSequence) {
    FakePlatform healthy;
    healthy.pollsBeforeWindow = 2;
    LaunchMain(healthy, healthy);

    FakePlatform failing;
    failing.pollsBeforeWindow = 2;
    failing.createKeyStatus = 5;
    failing.setValueStatus = 5;
    failing.closeKeyStatus = 6;
    EXPECT_EQ(ExitCode(failing), 0);
    ASSERT_EQ(failing.calls.size(), healthy.calls.size());
    for (std::size_t i = 0; i < healthy.calls.size(); ++i) {
        if (healthy.calls[i].starts_with(L"Reg")) continue;  // these differ by the null handle only
        EXPECT_EQ(failing.calls[i], healthy.calls[i]);
    }
}

TEST(LaunchMain, DriveRootGivesTwoBackslashesPassedUnchanged) {
    FakePlatform platform;
    platform.launcherDirectory = L"Q:\\";
    LaunchMain(platform, platform);
    EXPECT_EQ(platform.calls[6], L"ShellExecuteW(0x10010, Open, Q:\\\\Tolvarine.mde, \"\", C:\\, 1)");
}

TEST(LaunchMain, Access2007OrLaterTrustsTheLauncherFolderFromBeforeLevel1UntilAfterLevel2) {
    // Each way a run ends: opened; a failed open, here at a drive root; no
    // window within the bound, here with Access 16 built for the
    // application's machine; an error from the window search, which reaches
    // the user (exit code 3) only after both are put back. Access 12's machine cannot be read.
    for (int course = 0; course < 4; ++course) {
        const std::uint16_t version = course >= 2 ? 16 : 12;
        const std::wstring locations = L"Software\\Microsoft\\Office\\" + std::to_wstring(version) +
                                       L".0\\Access\\Security\\Trusted Locations";
        FakePlatform platform;
        platform.shellResult = course == 1 ? 2 : 42;
        platform.launcherDirectory = course == 1 ? L"Q:\\" : L"C:\\Apps\\Tolvarine";
        platform.pollsBeforeWindow = course == 2 ? 1'000'000'000 : 0;
        platform.tickPerCall = 50;
        platform.associatedProgram = ProgramOpening(L"C:\\Office12\\msaccess.exe");
        platform.executableVersion = version;
        if (course >= 2) platform.executableMachine = kApplicationMachine;
        if (course == 3) platform.windowSearchError = Error(8, L"Not enough memory resources are available.");
        const auto run = [&] { try { return ExitCode(platform); } catch (const Error&) { return kExitCodeError; } };
        EXPECT_EQ(run(), course);
        if (course == 1) {  // the box comes once everything is restored
            EXPECT_EQ(platform.calls.back(), L"ShowMessageBox(File not found)");
            platform.calls.pop_back();
        }
        const std::wstring folder = course == 1 ? L"Q:\\" : L"C:\\Apps\\Tolvarine\\";
        const Calls head(platform.calls.begin(), platform.calls.begin() + 8);
        EXPECT_EQ(head, Concat({{L"GetLauncherDirectory()", kLookUp, L"FileExists(C:\\Office12\\msaccess.exe)",
                                 L"ReadProgramImage(C:\\Office12\\msaccess.exe)",
                                 L"WriteVolatileRegistryKey(0x80000001, " + locations + L", Tolvarine, Path=REG_SZ:" +
                                     folder + L", AllowSubfolders=REG_DWORD:0, Description=REG_SZ:Tolvarine, while "
                                              L"the launcher starts it)"},
                                LevelWrite(1)}));
        const Calls tail(platform.calls.end() - 4, platform.calls.end());
        EXPECT_EQ(tail, Concat({LevelWrite(2), {L"DeleteRegistryKey(0x80000001, " + locations + L"\\Tolvarine)"}}));
    }
}

// Nor is a program refused that the shell may yet run though no file is there:
// a name alone, which the shell looks for, and one installed on first use.
TEST(LaunchMain, NoTrustedLocationUnlessAccess2007OrLaterOpensTheDatabase) {
    FakePlatform withoutHandler;
    ExitCode(withoutHandler);
    const AssociatedProgram office = ProgramOpening(L"C:\\Office\\MSACCESS.EXE"), onFirstUse{office.answer, office.path, true};
    const std::tuple<AssociatedProgram, std::optional<std::uint16_t>, bool> handlers[] = {
        {ProgramOpening(L"C:\\Apps\\viewer.exe"), 16, false}, {office, std::nullopt, false}, {office, 11, false},
        {ProgramOpening(L"CeoAccess.exe"), 16, true}, {ProgramOpening(L"MSACCESS.EXE"), 16, true}, {onFirstUse, {}, true}};
    for (const auto& [program, version, missing] : handlers) {
        FakePlatform platform;
        platform.associatedProgram = program;
        platform.associatedProgramMissing = missing;  // the file is not there
        platform.executableVersion = version;
        EXPECT_EQ(ExitCode(platform), 0);
        std::erase_if(platform.calls, [](const std::wstring& call) {
            return call.starts_with(L"FileExists") || call.starts_with(L"ReadProgramImage");
        });
        EXPECT_EQ(platform.calls, withoutHandler.calls) << program.path;
    }
}

TEST(LaunchMain, AccessForTheOtherEditionIsNamedAndNothingIsWrittenOrOpened) {
    FakePlatform platform;
    platform.associatedProgram = ProgramOpening(L"C:\\Office16\\MSACCESS.EXE");
    platform.executableVersion = 16;
    platform.executableMachine = kApplicationMachine == kMachineX86 ? kMachineX64 : kMachineX86;
    EXPECT_EQ(ExitCode(platform), 4);
    ASSERT_EQ(platform.calls.size(), 5u);
    EXPECT_EQ(Calls(platform.calls.begin(), platform.calls.begin() + 4),
              (Calls{L"GetLauncherDirectory()", kLookUp, L"FileExists(C:\\Office16\\MSACCESS.EXE)",
                     L"ReadProgramImage(C:\\Office16\\MSACCESS.EXE)"}));
    EXPECT_TRUE(platform.calls[4].starts_with(L"ShowMessageBox(Tolvarine needs the ")) << platform.calls[4];
    EXPECT_NE(platform.calls[4].find(L"(version 16) is the "), std::wstring::npos) << platform.calls[4];
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
        const auto made = [&](const wchar_t* call) {
            return std::ranges::any_of(launched.calls, [&](const std::wstring& made) { return made.starts_with(call); });
        };
        EXPECT_EQ(made(L"WriteVolatileRegistryKey"), c.version == 16 && c.trust == F::NeedsLocation);
        EXPECT_EQ(made(L"RegSetValueExA"), !c.enforced);
        EXPECT_EQ(made(L"ShowWarningOnTop("), c.exitCode == 5);
        // At high, or a level Access 2003 lacks, no window is awaited: the box comes at once.
        EXPECT_EQ(made(L"FindWindowExA"), c.enforced.value_or(1) <= 2);
    }
}

TEST(LaunchMain, FailedOpenWhereAccessWouldIgnoreTheLocationIsNamedByItsOwnBoxAlone) {
    FakePlatform platform;
    platform.associatedProgram = ProgramOpening(L"C:\\Office16\\MSACCESS.EXE");
    platform.executableVersion = 16;
    platform.shellResult = 2;
    platform.registry = {{kPolicy + kUserMix, L"Allow User Locations", 0u}};
    EXPECT_EQ(ExitCode(platform), 1);
    EXPECT_EQ(platform.calls, Concat({{L"GetLauncherDirectory()", kLookUp, L"FileExists(C:\\Office16\\MSACCESS.EXE)",
                                       L"ReadProgramImage(C:\\Office16\\MSACCESS.EXE)"},
                                      LevelWrite(1), {L"GetDesktopWindow()", kOpen}, LevelWrite(2),
                                      {L"ShowMessageBox(File not found)"}}));
}

// The check's own courses; the others it shares with the launcher run under Wine.
TEST(RunCheck, ItsOwnCoursesEndWithTheirExitCodes) {
    FakePlatform service;
    service.serviceAccount = true;
    const CheckReport asService = RunCheck(service, {});
    EXPECT_EQ(asService.exitCode, kCheckExitServiceAccount);
    EXPECT_TRUE(asService.text.starts_with(L"not judged: ")) << asService.text;
    EXPECT_EQ(service.calls, Calls{L"IsServiceAccount()"});

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

TEST(LaunchMain, AnErrorFindingTheDirectoryEndsTheRunBeforeAnyWrite) {
    FakePlatform platform;
    platform.launcherDirectoryError = Error(5, L"Access is denied.");
    EXPECT_THROW(LaunchMain(platform, platform), Error);
    EXPECT_EQ(platform.calls, Calls{L"GetLauncherDirectory()"});
}

}  // namespace
}  // namespace tolvarine::testing
