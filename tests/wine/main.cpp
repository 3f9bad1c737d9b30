// The Windows test program. Copied elsewhere, it also serves as a probe:
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
#include "tests/wine/wine_test_support.h"

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--print-launcher-directory") {
        tolvarine::WindowsPlatform platform;
        const std::string directory = tolvarine::wine_test::Utf8(platform.GetLauncherDirectory());
        const tolvarine::UniqueFileHandle file(
            ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return file && ::WriteFile(file.get(), directory.data(), static_cast<DWORD>(directory.size()), &written,
                                   nullptr)
                   ? 0
                   : 1;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"--load-planted-dlls") {
        const auto load = [](tolvarine::Platform&) {
            return (::LoadLibraryW(L"planted-in-program-folder.dll") ? 1 : 0) |
                   (::LoadLibraryW(L"planted-in-current-folder.dll") ? 2 : 0);
        };
        if (std::wstring(argv[2]) == L"hardened") return tolvarine::RunProgram(load);
        tolvarine::WindowsPlatform platform;
        return load(platform);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
