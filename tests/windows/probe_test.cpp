// Copies of this test program run as probes: GetLauncherDirectory where a
// launcher may stand (a drive root, a folder named outside the ANSI code
// page), and the DLL search the programs' entry frame leaves. Also the
// version the platform reads from a program's file.
#include <gtest/gtest.h>

#include "platform/windows_platform.h"
#include "tests/windows/windows_test_support.h"

namespace tolvarine::windows_test {
namespace {

std::wstring OwnPath() {
    wchar_t path[MAX_PATH * 4];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return path;
}

// Copies this program into the folder, runs it there, returns what it printed.
std::wstring LauncherDirectoryFrom(const std::wstring& folder) {
    CopyInto(OwnPath(), folder, L"probe.exe");
    const std::wstring output = MakeTestDir(L"probe-output-" + std::to_wstring(::GetTickCount())) + L"\\dir.txt";
    Process probe(L"\"" + folder + L"\\probe.exe\" --print-launcher-directory \"" + output + L"\"");
    const auto code = probe.WaitForExit(30000);
    if (code != 0u) throw std::runtime_error("probe failed");
    return FromUtf8(ReadFileUtf8(output));
}

TEST(GetLauncherDirectory, DriveRootKeepsItsBackslash) {
    const std::wstring root = TestDrive() + L"\\";
    ASSERT_NE(root, L"\\") << "no drive letter could be made for the run";
    EXPECT_EQ(LauncherDirectoryFrom(root), root);
}

// Windows starts a program this deep when its "\\?\" path is given apart
// from the command line, whose program part is limited to MAX_PATH; Wine
// cannot, and there tests/wine/from-linux.sh starts it from Linux instead.
TEST(GetLauncherDirectory, ProgramDeeperThanMaxPathGetsItsWholeFolder) {
    if (RunsUnderWine()) GTEST_SKIP() << "Wine cannot start a program this deep: tests/wine/from-linux.sh runs it";
    std::wstring deep = L"\\\\?\\" + TestRoot();
    // Removed by its "\\?\" path whatever happens: rmdir /s may not reach this deep.
    struct DeepTree {
        const std::wstring& deep;
        ~DeepTree() {
            ::DeleteFileW((deep + L"\\probe.exe").c_str());
            for (std::wstring folder = deep; folder.size() > 4 + TestRoot().size(); folder.erase(folder.rfind(L'\\')))
                ::RemoveDirectoryW(folder.c_str());
        }
    } removed{deep};
    for (int level = 1; level <= 12; ++level) {
        deep += L"\\folder-level-" + std::to_wstring(level) + L"-of-a-deep-tree";
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << ::GetLastError();
    }
    CopyInto(OwnPath(), deep, L"probe.exe");
    const std::wstring output = MakeTestDir(L"long-path-output") + L"\\dir.txt";
    {
        Process probe(L"probe.exe --print-launcher-directory \"" + output + L"\"", {}, {}, deep + L"\\probe.exe");
        EXPECT_EQ(probe.WaitForExit(30000), 0u);
    }
    const std::wstring seen = FromUtf8(ReadFileUtf8(output));
    EXPECT_TRUE(seen == deep || seen == deep.substr(4)) << Utf8(seen);
    EXPECT_GT(seen.size(), 260u);
}

TEST(GetLauncherDirectory, FolderNamedOutsideTheAnsiCodePage) {
    const std::wstring folder = MakeTestDir(L"Zo\u00EB \u00DCn\u00EFcode \u6587\u4EF6 \u043F\u0430\u043F\u043A\u0430");
    EXPECT_EQ(LauncherDirectoryFrom(folder), folder);
}

// Without hardening Wine loads both planted DLLs, so the test has teeth. The
// call it proves is SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32):
// under Wine, SetDllDirectoryW(L"") alone still loads from the current folder.
TEST(ProgramEntry, HardeningKeepsDllsOfTheProgramAndCurrentFoldersFromLoading) {
    const std::wstring program = MakeTestDir(L"dll-search-program");
    const std::wstring current = MakeTestDir(L"dll-search-current");
    CopyInto(OwnPath(), program, L"probe.exe");
    CopyInto(BinDir() + L"\\planted.dll", program, L"planted-in-program-folder.dll");
    CopyInto(BinDir() + L"\\planted.dll", current, L"planted-in-current-folder.dll");
    const auto loaded = [&](const std::wstring& mode) {
        Process probe(L"\"" + program + L"\\probe.exe\" --load-planted-dlls " + mode, current);
        return probe.WaitForExit(30000);
    };
    EXPECT_EQ(loaded(L"plain"), 3u);
    EXPECT_EQ(loaded(L"hardened"), 0u);
}

TEST(ReadProgramImage, MachineAndVersionReadFromAnyProgramWithoutRunningIt) {
    WindowsPlatform platform;
    const std::uint16_t machine = sizeof(void*) == 4 ? kMachineX86 : kMachineX64;
    const std::uint16_t other = sizeof(void*) == 4 ? kMachineX64 : kMachineX86;
    const FileVersion access16{16, 0, 1, 2}, project{1, 0, 0, 0};
    EXPECT_EQ(platform.ReadProgramImage(BinDir() + L"\\standin_access16.exe"), (ProgramImage{machine, access16}));
    EXPECT_EQ(platform.ReadProgramImage(OtherMachineBinDir() + L"\\standin_access16.exe"), (ProgramImage{other, access16}));
    EXPECT_EQ(platform.ReadProgramImage(BinDir() + L"\\TolvarineLauncher.exe"), (ProgramImage{machine, project}));
    EXPECT_EQ(platform.ReadProgramImage(BinDir() + L"\\standin_app.exe"), (ProgramImage{machine, std::nullopt}));
    EXPECT_EQ(platform.ReadProgramImage(BinDir() + L"\\missing.exe"), ProgramImage{});
}

// Run only by tests/wine/kit-checks.sh: a case that changes what the kit
// restores and then fails.
TEST(Kit, DISABLED_FailsOnPurpose) {
    const std::wstring path = L"C:\\Changed\\";
    SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0\\Access\\Security\\Trusted Locations\\Own",
                     L"Path", REG_SZ, path.c_str(), static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    FAIL() << "on purpose";
}

}  // namespace
}  // namespace tolvarine::windows_test
