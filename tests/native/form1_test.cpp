// Form1's pure parts: twips to pixels and the Access command line.
#include <gtest/gtest.h>

#include "window/access_command_line.h"
#include "window/form1_layout.h"

namespace tolvarine {
namespace {

TEST(TwipsToPixels, FifteenTwipsArePixelAt96DotsPerInchAndScaleBeyond) {
    EXPECT_EQ(ToPixels(kLabel1Rect, 96, 96), (PixelRect{76, 80, 325, 25}));
    EXPECT_EQ(ToPixels(kTxtPathDBRect, 96, 96), (PixelRect{76, 104, 593, 29}));
    EXPECT_EQ(ToPixels(kCommand1Rect, 96, 96), (PixelRect{280, 256, 121, 41}));
    EXPECT_EQ(TwipsToPixels(kForm1ClientWidthTwips, 96), 718);
    EXPECT_EQ(TwipsToPixels(kForm1ClientHeightTwips, 96), 383);

    EXPECT_EQ(ToPixels(kCommand1Rect, 120, 120), (PixelRect{350, 320, 151, 51}));  // 151.25, 51.25
    EXPECT_EQ(ToPixels(kTxtPathDBRect, 144, 144), (PixelRect{114, 156, 890, 44}));  // 889.5 and 43.5 round up
    EXPECT_EQ(TwipsToPixels(kForm1ClientHeightTwips, 144), 575);                     // 574.5
    EXPECT_EQ(ToPixels(kLabel1Rect, 192, 192), (PixelRect{152, 160, 650, 50}));
    // Different horizontal and vertical densities each apply to their axis.
    EXPECT_EQ(ToPixels(kCommand1Rect, 96, 192), (PixelRect{280, 512, 121, 82}));
    EXPECT_EQ(TwipsToPixels(-15, 96), -1);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
}

TEST(AccessCommandLine, QuotesTheExecutableAndTheTextExactlyAsTyped) {
    EXPECT_EQ(AccessCommandLine(kAccessExecutable, kDefaultDatabasePath),
              L"\"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE\" "
              L"\"C:\\Program Files\\Tolvarine\\Tolvarine.mde\"");
    EXPECT_EQ(AccessCommandLine(kAccessExecutable, L""),
              L"\"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE\" \"\"");
    EXPECT_EQ(AccessCommandLine(kAccessExecutable, L"  a\"b  "),
              L"\"C:\\Program Files\\Microsoft Office\\OFFICE11\\MSACCESS.EXE\" \"  a\"b  \"");
}

}  // namespace
}  // namespace tolvarine
