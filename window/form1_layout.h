// Form1's layout in twips (1/1440 inch), and its conversion to pixels at a
// given number of dots per inch.
#pragma once

#include <string_view>

namespace tolvarine {

struct TwipsRect {
    int left, top, width, height;
};

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

// Rounded to the nearest pixel, halves away from zero.
int TwipsToPixels(int twips, int dotsPerInch);
PixelRect ToPixels(const TwipsRect& rect, int dotsPerInchX, int dotsPerInchY);

inline constexpr std::wstring_view kForm1Caption = L"Form1";
inline constexpr int kForm1ClientWidthTwips = 10770;
inline constexpr int kForm1ClientHeightTwips = 5745;

inline constexpr std::wstring_view kLabel1Text = L"Path and DB to open";
inline constexpr TwipsRect kLabel1Rect{1140, 1200, 4875, 375};
inline constexpr TwipsRect kTxtPathDBRect{1140, 1560, 8895, 435};
inline constexpr std::wstring_view kCommand1Text = L"Open DB";
inline constexpr TwipsRect kCommand1Rect{4200, 3840, 1815, 615};

inline constexpr std::wstring_view kDefaultDatabasePath = L"C:\\Program Files\\Tolvarine\\Tolvarine.mde";

}  // namespace tolvarine
