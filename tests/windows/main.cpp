// The Windows test program, the heart of the test kit that run-tests.cmd
// runs. Besides GoogleTest's own arguments it takes:
//   --as-standard-user        runs the cases that need an elevated
//                             administrator as a standard user's run would:
//                             skipped
//   --summary-file <file>     writes "N passed, N failed, N skipped" there
// and, as run-tests.cmd's other steps, alone:
//   --unblock                 removes the mark of the web from the kit's files
//   --save-state <file>       records what the suite may change on the PC
//   --restore-state <file>    puts it back
// Copied elsewhere, it also serves as a probe:
//   --print-launcher-directory <file>   writes the real platform's launcher
//                                       directory to the file (UTF-8)
//   --load-planted-dlls plain|hardened  loads two DLLs by name alone, as
//                                       every program does or through the
//                                       programs' entry frame; the exit code
//                                       has bit 1 for the one in the program's
//                                       folder, bit 2 for the current folder's
#include <gtest/gtest.h>

#include <string>

#include "platform/program_entry.h"
#include "tests/windows/kit_state.h"
#include "tests/windows/windows_test_support.h"

namespace {

// The closing line, written where run-tests.cmd reads it.
class Summary : public testing::EmptyTestEventListener {
public:
    explicit Summary(std::wstring file) : file_(std::move(file)) {}
    void OnTestProgramEnd(const testing::UnitTest& unit) override {
        const std::string line = std::to_string(unit.successful_test_count()) + " passed, " +
                                 std::to_string(unit.failed_test_count()) + " failed, " +
                                 std::to_string(unit.skipped_test_count()) + " skipped\r\n";
        const tolvarine::UniqueFileHandle file(
            ::CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }

private:
    std::wstring file_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace tolvarine::windows_test;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (argc == 2 && mode == L"--unblock")
        return UnblockFolder(BinDir()) && UnblockFolder(OtherMachineBinDir()) ? 0 : 1;
    if (argc == 3 && mode == L"--save-state") return SaveKitState(argv[2]) ? 0 : 1;
    if (argc == 3 && mode == L"--restore-state") return RestoreKitState(argv[2]) ? 0 : 1;
    if (argc == 3 && mode == L"--print-launcher-directory") {
        tolvarine::WindowsPlatform platform;
        const std::string directory = Utf8(platform.GetLauncherDirectory());
        const tolvarine::UniqueFileHandle file(
            ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return file && ::WriteFile(file.get(), directory.data(), static_cast<DWORD>(directory.size()), &written,
                                   nullptr)
                   ? 0
                   : 1;
    }
    if (argc == 3 && mode == L"--load-planted-dlls") {
        const auto load = [](tolvarine::WindowsPlatform&) {
            return (::LoadLibraryW(L"planted-in-program-folder.dll") ? 1 : 0) |
                   (::LoadLibraryW(L"planted-in-current-folder.dll") ? 2 : 0);
        };
        if (std::wstring(argv[2]) == L"hardened") return tolvarine::RunProgram(load);
        tolvarine::WindowsPlatform platform;
        return load(platform);
    }
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--as-standard-user") BehaveAsStandardUser();
        if (argument == L"--summary-file" && i + 1 < argc)
            testing::UnitTest::GetInstance()->listeners().Append(new Summary(argv[++i]));
    }
    return RUN_ALL_TESTS();
}
