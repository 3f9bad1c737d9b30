// The registry writer: numbers and numeric text become REG_DWORD, other
// text REG_SZ in the ANSI code page.
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "launcher/module1.h"
#include "launcher/numeric_text.h"
#include "platform/error.h"

namespace tolvarine {

namespace {

// Owns the key handle of one write: closed on every exit, also when the
// handle was never filled, since the close then fails harmlessly.
class OpenedKey {
public:
    OpenedKey(LauncherActions& actions, RegistryRoot root, std::wstring_view path) : actions_(actions) {
        actions_.RegCreateKeyA(root, path, handle_);
    }
    ~OpenedKey() { actions_.RegCloseKey(handle_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    KeyHandle get() const noexcept { return handle_; }

private:
    LauncherActions& actions_;
    KeyHandle handle_ = 0;
};

bool IsNumeric(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::wstring>(&value.get())) return IsNumericText(*text);
    return true;
}

std::optional<std::int32_t> RoundHalfToEven(long double number) {
    if (!std::isfinite(number)) return std::nullopt;
    long double rounded = std::floor(number);
    const long double fraction = number - rounded;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(rounded, 2.0L) != 0)) rounded += 1;
    if (rounded < INT32_MIN || rounded > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> ToInt32(const RegistryValue& value) {
    struct Converter {
        std::optional<std::int32_t> operator()(std::int64_t n) const {
            if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
            return static_cast<std::int32_t>(n);
        }
        std::optional<std::int32_t> operator()(std::uint64_t n) const {
            if (n > static_cast<std::uint64_t>(INT32_MAX)) return std::nullopt;
            return static_cast<std::int32_t>(n);
        }
        std::optional<std::int32_t> operator()(long double n) const { return RoundHalfToEven(n); }
        std::optional<std::int32_t> operator()(const std::wstring& text) const { return NumericTextToInt32(text); }
    };
    return std::visit(Converter{}, value.get());
}

std::array<std::byte, 4> LittleEndian(std::int32_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    return {std::byte(bits & 0xFF), std::byte((bits >> 8) & 0xFF), std::byte((bits >> 16) & 0xFF),
            std::byte((bits >> 24) & 0xFF)};
}

// Text without leading and trailing spaces (only U+0020), plus its NUL.
std::wstring TextWithTerminator(const std::wstring& text) {
    const auto first = text.find_first_not_of(L' ');
    std::wstring trimmed;
    if (first != std::wstring::npos) trimmed = text.substr(first, text.find_last_not_of(L' ') - first + 1);
    trimmed += L'\0';
    return trimmed;
}

}  // namespace

void SetRegistryValue(LauncherActions& actions, RegistryRoot root, std::wstring_view keyPath,
                      std::wstring_view valueName, const RegistryValue& value) {
    // The type follows the value as passed in, before any trimming.
    const bool numeric = IsNumeric(value);
    const OpenedKey key(actions, root, keyPath);
    if (numeric) {
        const auto number = ToInt32(value);
        if (!number) throw Error(kErrorArithmeticOverflow, actions.DescribeError(kErrorArithmeticOverflow));
        const auto bytes = LittleEndian(*number);
        actions.RegSetValueExA(key.get(), valueName, kRegDword, bytes);
    } else {
        const std::string ansi = actions.ToAnsi(TextWithTerminator(std::get<std::wstring>(value.get())));
        actions.RegSetValueExA(key.get(), valueName, kRegSz, std::as_bytes(std::span(ansi)));
    }
}

void SetAccessSecurityLevel(LauncherActions& actions, std::int16_t level) {
    SetRegistryValue(actions, kHkeyCurrentUser, kSecurityKeyPath, kSecurityValueName, level);
}

}  // namespace tolvarine
