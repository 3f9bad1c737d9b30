// The registry writer against the real registry, under a test key of our
// own: values read back with their types and bytes.
#include <gtest/gtest.h>

#include "launcher/module1.h"
#include "platform/error.h"
#include "platform/windows_platform.h"
#include "tests/windows/windows_test_support.h"

namespace tolvarine::windows_test {
namespace {

const std::wstring kTestKey = L"Software\\TolvarineTests\\Writer";
const std::wstring kSecurityKey(kSecurityKeyPath);

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\TolvarineTests"); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\TolvarineTests"); }

    RegistryData WriteAndRead(const RegistryValue& value) {
        SetRegistryValue(platform_, kHkeyCurrentUser, kTestKey, L"Value", value);
        const auto data = ReadRegistryValue(HKEY_CURRENT_USER, kTestKey, L"Value");
        if (!data) throw std::runtime_error("value not written");
        return *data;
    }

    WindowsPlatform platform_;
};

using Bytes = std::vector<unsigned char>;

TEST_F(RealRegistry, NumbersAndNumericTextAreDwords) {
    const std::pair<RegistryValue, Bytes> cases[] = {
        {1, {1, 0, 0, 0}},        {2, {2, 0, 0, 0}},          {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
        {L"42", {42, 0, 0, 0}},   {2.5, {2, 0, 0, 0}},        {3.5, {4, 0, 0, 0}},
    };
    for (const auto& [value, bytes] : cases) {
        const auto data = WriteAndRead(value);
        EXPECT_EQ(data.type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(data.bytes, bytes);
    }
}

TEST_F(RealRegistry, TextIsAnsiWithItsNul) {
    auto data = WriteAndRead(L"  abc  ");
    EXPECT_EQ(data.type, static_cast<DWORD>(REG_SZ));
    // Read back through the wide API: "abc" and its NUL, 4 characters.
    EXPECT_EQ(data.bytes, (Bytes{'a', 0, 'b', 0, 'c', 0, 0, 0}));
    data = WriteAndRead(L"");
    EXPECT_EQ(data.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data.bytes, (Bytes{0, 0}));
    // A letter beyond ASCII in the system's ANSI code page survives the round trip.
    wchar_t letter = 0;
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\xC0", 1, &letter, 1) != 1)
        GTEST_SKIP() << "the ANSI code page " << ::GetACP() << " has no one-byte character 0xC0";
    data = WriteAndRead(std::wstring_view(std::wstring(L"caf") + letter));
    EXPECT_EQ(data.bytes, (Bytes{'c', 0, 'a', 0, 'f', 0, static_cast<unsigned char>(letter & 0xFF),
                                 static_cast<unsigned char>(letter >> 8), 0, 0}));
}

TEST_F(RealRegistry, OverflowWritesNothingAndNamesTheSystemError) {
    try {
        SetRegistryValue(platform_, kHkeyCurrentUser, kTestKey, L"Value", 2147483648LL);
        FAIL() << "no overflow";
    } catch (const Error& error) {
        EXPECT_EQ(error.code(), kErrorArithmeticOverflow);
        EXPECT_FALSE(error.description().empty());
        EXPECT_NE(error.description(), L"Unknown error");
    }
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kTestKey, L"Value").has_value());
}

TEST_F(RealRegistry, SecurityLevelCreatesItsKeyWhenAbsent) {
    DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\11.0\\Access");
    SetAccessSecurityLevel(platform_, 1);
    auto data = ReadRegistryValue(HKEY_CURRENT_USER, kSecurityKey, L"Level");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data->bytes, (Bytes{1, 0, 0, 0}));
    SetAccessSecurityLevel(platform_, 2);
    data = ReadRegistryValue(HKEY_CURRENT_USER, kSecurityKey, L"Level");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->bytes, (Bytes{2, 0, 0, 0}));
}

TEST_F(RealRegistry, VolatileKeyUnderOrdinaryParentsHoldsUtf16TextAndIsDeleted) {
    const std::wstring parent = kTestKey + L"\\Trusted Locations";
    const std::wstring folder = L"C:\\Zo\u00EB \u6587\u4EF6\\";
    const RegistryEntry values[] = {{L"Path", folder}, {L"AllowSubfolders", std::uint32_t{0}}};
    EXPECT_EQ(platform_.WriteVolatileRegistryKey(kHkeyCurrentUser, parent, L"Tolvarine", values), 0);
    const auto path = ReadRegistryValue(HKEY_CURRENT_USER, parent + L"\\Tolvarine", L"Path");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(path->bytes.data()), path->bytes.size() / 2), folder + L'\0');
    // Only the last key is volatile: it takes no ordinary subkey, its parent does.
    const auto createOrdinary = [](const std::wstring& key) {
        UniqueRegistryKey created;
        return ::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ,
                                 nullptr, created.put(), nullptr);
    };
    EXPECT_EQ(createOrdinary(parent + L"\\Tolvarine\\Child"), ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_EQ(createOrdinary(parent + L"\\Other"), ERROR_SUCCESS);
    EXPECT_EQ(platform_.DeleteRegistryKey(kHkeyCurrentUser, parent + L"\\Tolvarine"), 0);
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, parent + L"\\Tolvarine", L"Path").has_value());
}

}  // namespace
}  // namespace tolvarine::windows_test
