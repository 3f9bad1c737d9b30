#include "launcher/numeric_text.h"

#include <string>

namespace tolvarine {

namespace {

struct DecimalNumber {
    bool negative = false;
    std::wstring digits;           // significant digits, no leading zeros
    std::int64_t pointPosition = 0;  // digits before the decimal point
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring_view TrimSpaces(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

std::optional<DecimalNumber> Parse(std::wstring_view text) {
    text = TrimSpaces(text);
    std::size_t i = 0;
    DecimalNumber number;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) number.negative = text[i++] == L'-';

    std::wstring allDigits;
    std::int64_t integerDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        allDigits += text[i++];
        ++integerDigits;
    }
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) allDigits += text[i++];
    }
    if (allDigits.empty()) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) exponentNegative = text[i++] == L'-';
        if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
        // Beyond a billion the value is zero or out of range either way.
        constexpr std::int64_t kExponentCap = 1'000'000'000;
        while (i < text.size() && IsDigit(text[i])) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - L'0');
            ++i;
        }
        if (exponentNegative) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;

    const auto firstSignificant = allDigits.find_first_not_of(L'0');
    if (firstSignificant == std::wstring::npos) return number;  // zero
    number.digits = allDigits.substr(firstSignificant);
    number.pointPosition = integerDigits + exponent - static_cast<std::int64_t>(firstSignificant);
    return number;
}

}  // namespace

bool IsNumericText(std::wstring_view text) { return Parse(text).has_value(); }

std::optional<std::int32_t> NumericTextToInt32(std::wstring_view text) {
    const auto number = Parse(text);
    if (!number) return std::nullopt;
    const std::wstring& digits = number->digits;
    const std::int64_t point = number->pointPosition;
    if (digits.empty()) return 0;
    // The first digit is not zero, so eleven or more integer digits exceed 2^31.
    if (point > 10) return std::nullopt;

    std::uint64_t magnitude = 0;
    for (std::int64_t k = 0; k < point; ++k) {
        const auto index = static_cast<std::size_t>(k);
        magnitude = magnitude * 10 + (index < digits.size() ? static_cast<std::uint64_t>(digits[index] - L'0') : 0);
    }

    // Round half to even on the exact decimal fraction.
    if (point >= 0 && static_cast<std::size_t>(point) < digits.size()) {
        const auto index = static_cast<std::size_t>(point);
        const wchar_t roundingDigit = digits[index];
        const bool restNonZero = digits.find_first_not_of(L'0', index + 1) != std::wstring::npos;
        if (roundingDigit > L'5' || (roundingDigit == L'5' && (restNonZero || magnitude % 2 == 1))) ++magnitude;
    }

    const std::int64_t value =
        number->negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace tolvarine
