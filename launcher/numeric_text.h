// Text that reads as a number, and its value as a 32-bit integer.
//
// Numeric text is, between optional leading and trailing spaces: an optional
// sign, digits with an optional point and fraction (or a point and digits),
// and an optional exponent ("e" or "E", optional sign, digits). Nothing else:
// no hex, currency, thousands separators or other white space.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvarine {

bool IsNumericText(std::wstring_view text);

// The exact value of numeric text rounded half to even, or nothing when it
// lies outside the signed 32-bit range. Text that is not numeric gives nothing.
std::optional<std::int32_t> NumericTextToInt32(std::wstring_view text);

}  // namespace tolvarine
