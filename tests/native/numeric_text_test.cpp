// Which text counts as a number, and its exact value rounded half to even.
#include <gtest/gtest.h>

#include "launcher/numeric_text.h"

namespace tolvarine {
namespace {

TEST(NumericText, AcceptsSignDigitsPointFractionAndExponentBetweenSpaces) {
    for (const wchar_t* text : {L"0", L"42", L"+42", L"-42", L"  42  ", L"1.", L".5", L"-.5", L"1.25", L"1e3",
                                L"1E+3", L"25e-1", L"007", L"0.0", L"1e99999999999999999999"})
        EXPECT_TRUE(IsNumericText(text)) << text;
}

TEST(NumericText, RejectsEverythingElse) {
    for (const wchar_t* text : {L"", L" ", L".", L"+", L"-", L"e5", L"1e", L"1e+", L"0x1F", L"&H1F", L"$5",
                                L"1,000", L"1 000", L"\t1", L"1\t", L"1.2.3", L"--1", L"+-1", L"1e2.5", L"abc",
                                L"12abc", L"\u0661", L"\uFF11", L"1d3", L"Infinity", L"NaN"})
        EXPECT_FALSE(IsNumericText(text)) << text;
}

TEST(NumericText, RoundsTheExactDecimalHalfToEven) {
    const std::pair<const wchar_t*, std::int32_t> cases[] = {
        {L"0.5", 0},         {L"1.5", 2},        {L"2.5", 2},           {L"-2.5", -2},
        {L"-3.5", -4},       {L"2.4999", 2},     {L"2.5000000000000000000001", 3},
        {L"0.49999999999999999999", 0},          {L"25e-1", 2},         {L"35E-1", 4},
        {L"0.0001e4", 1},    {L"1e-9", 0},       {L"-0", 0},            {L"1e-999999999999", 0},
        {L"2147483647", 2147483647},             {L"-2147483648", INT32_MIN},
        {L"-2147483648.5", INT32_MIN},           {L"2147483646.5", 2147483646},
        {L"00000000000000000000012", 12},        {L"2.147483647e9", 2147483647},
    };
    for (const auto& [text, expected] : cases) {
        const auto value = NumericTextToInt32(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, expected) << text;
    }
}

TEST(NumericText, GivesNothingOutsideTheSigned32BitRange) {
    for (const wchar_t* text : {L"2147483648", L"2147483647.5", L"-2147483649", L"-2147483648.51", L"1e10",
                                L"99999999999999999999", L"1e999999999999", L"not a number"})
        EXPECT_FALSE(NumericTextToInt32(text).has_value()) << text;
}

}  // namespace
}  // namespace tolvarine
