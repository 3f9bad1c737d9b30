// Names compared as Windows compares class and file names written in ASCII.
#pragma once

#include <algorithm>
#include <string_view>

namespace tolvarine {

inline bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return std::ranges::equal(a, b, [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
}

}  // namespace tolvarine
