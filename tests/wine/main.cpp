// The Windows test program. Run with "--print-launcher-directory <file>" it
// instead writes the real platform's launcher directory to the file (UTF-8),
// so that tests can copy it anywhere and ask it where it is.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows_platform.h"
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
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
