// The registry writer against the fake: which type each value gets, the
// exact bytes, and that failures change nothing for the caller.
#include <gtest/gtest.h>

#include <climits>

#include "launcher/module1.h"
#include "tests/native/fake_platform.h"

namespace tolvarine::testing {
namespace {

using Calls = std::vector<std::wstring>;

Calls Write(const RegistryValue& value, FakePlatform platform = {}) {
    SetRegistryValue(platform, kHkeyCurrentUser, L"Software\\Test", L"Name", value);
    return platform.calls;
}

Calls Expected(const std::wstring& setCall) {
    return {L"RegCreateKeyA(0x80000001, Software\\Test, 0x0)", setCall, L"RegCloseKey(0x1234)"};
}

TEST(SetAccessSecurityLevel, WritesTheLevelAsDwordUnderTheAccessSecurityKey) {
    for (const int level : {1, 2}) {
        FakePlatform platform;
        SetAccessSecurityLevel(platform, static_cast<std::int16_t>(level));
        EXPECT_EQ(platform.calls, LevelWrite(level));
    }
}

TEST(SetRegistryValue, NumbersBecomeLittleEndianDwords) {
    EXPECT_EQ(Write(-1), Expected(L"RegSetValueExA(0x1234, Name, 4, [FF FF FF FF], 4)"));
    EXPECT_EQ(Write(0x01020304u), Expected(L"RegSetValueExA(0x1234, Name, 4, [04 03 02 01], 4)"));
    EXPECT_EQ(Write(static_cast<short>(-2)), Expected(L"RegSetValueExA(0x1234, Name, 4, [FE FF FF FF], 4)"));
    EXPECT_EQ(Write(INT_MIN), Expected(L"RegSetValueExA(0x1234, Name, 4, [00 00 00 80], 4)"));
}

TEST(SetRegistryValue, NonIntegralNumbersRoundHalfToEven) {
    EXPECT_EQ(Write(2.5), Expected(L"RegSetValueExA(0x1234, Name, 4, [02 00 00 00], 4)"));
    EXPECT_EQ(Write(3.5), Expected(L"RegSetValueExA(0x1234, Name, 4, [04 00 00 00], 4)"));
    EXPECT_EQ(Write(-2.5f), Expected(L"RegSetValueExA(0x1234, Name, 4, [FE FF FF FF], 4)"));
    EXPECT_EQ(Write(2.50001), Expected(L"RegSetValueExA(0x1234, Name, 4, [03 00 00 00], 4)"));
    EXPECT_EQ(Write(L"2.5"), Expected(L"RegSetValueExA(0x1234, Name, 4, [02 00 00 00], 4)"));
    EXPECT_EQ(Write(L"-3.5"), Expected(L"RegSetValueExA(0x1234, Name, 4, [FC FF FF FF], 4)"));
}

TEST(SetRegistryValue, NumericTextIsStoredAsDword) {
    EXPECT_EQ(Write(L"42"), Expected(L"RegSetValueExA(0x1234, Name, 4, [2A 00 00 00], 4)"));
    EXPECT_EQ(Write(L"  42  "), Expected(L"RegSetValueExA(0x1234, Name, 4, [2A 00 00 00], 4)"));
    EXPECT_EQ(Write(L"4.2e1"), Expected(L"RegSetValueExA(0x1234, Name, 4, [2A 00 00 00], 4)"));
}

TEST(SetRegistryValue, OtherTextIsTrimmedOfSpacesAndStoredWithItsNul) {
    EXPECT_EQ(Write(L"  abc  "), Expected(L"RegSetValueExA(0x1234, Name, 1, [61 62 63 00], 4)"));
    EXPECT_EQ(Write(L""), Expected(L"RegSetValueExA(0x1234, Name, 1, [00], 1)"));
    EXPECT_EQ(Write(L"   "), Expected(L"RegSetValueExA(0x1234, Name, 1, [00], 1)"));
    // Only spaces are trimmed; a tab stays.
    EXPECT_EQ(Write(L"\tx "), Expected(L"RegSetValueExA(0x1234, Name, 1, [09 78 00], 3)"));
    // Text that only looks like a number elsewhere stays text.
    EXPECT_EQ(Write(L"0x10"), Expected(L"RegSetValueExA(0x1234, Name, 1, [30 78 31 30 00], 5)"));
    // The ANSI conversion happens on the way to the registry.
    EXPECT_EQ(Write(L"\u00E9\u0416"), Expected(L"RegSetValueExA(0x1234, Name, 1, [E9 3F 00], 3)"));
}

TEST(SetRegistryValue, OutOfRangeNumbersRaiseOverflowAndStillCloseTheKey) {
    const RegistryValue tooLarge[] = {2147483648LL, -2147483649LL, 4294967296ULL, 1e10, L"2147483648",
                                      L"2147483647.5", L"-1e12", std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN()};
    for (const auto& value : tooLarge) {
        FakePlatform platform;
        try {
            SetRegistryValue(platform, kHkeyCurrentUser, L"Software\\Test", L"Name", value);
            ADD_FAILURE() << "no overflow";
        } catch (const Error& error) {
            EXPECT_EQ(error.code(), kErrorArithmeticOverflow);
            EXPECT_EQ(error.description(), L"description of 534");
        }
        EXPECT_EQ(platform.calls, (Calls{L"RegCreateKeyA(0x80000001, Software\\Test, 0x0)", L"DescribeError(534)",
                                         L"RegCloseKey(0x1234)"}));
    }
}

TEST(SetRegistryValue, TheEdgesOfTheRangeStillFit) {
    EXPECT_EQ(Write(L"2147483647.4"), Expected(L"RegSetValueExA(0x1234, Name, 4, [FF FF FF 7F], 4)"));
    EXPECT_EQ(Write(-2147483648.5), Expected(L"RegSetValueExA(0x1234, Name, 4, [00 00 00 80], 4)"));
    EXPECT_EQ(Write(2147483647u), Expected(L"RegSetValueExA(0x1234, Name, 4, [FF FF FF 7F], 4)"));
}

TEST(SetRegistryValue, FailingRegistryCallsAreIgnored) {
    FakePlatform platform;
    platform.createKeyStatus = 5;  // access denied: the handle stays null
    platform.setValueStatus = 6;
    platform.closeKeyStatus = 6;
    SetAccessSecurityLevel(platform, 1);
    EXPECT_EQ(platform.calls,
              (Calls{L"RegCreateKeyA(0x80000001, Software\\Microsoft\\Office\\11.0\\Access\\Security, 0x0)",
                     L"RegSetValueExA(0x0, Level, 4, [01 00 00 00], 4)", L"RegCloseKey(0x0)"}));
}

}  // namespace
}  // namespace tolvarine::testing
