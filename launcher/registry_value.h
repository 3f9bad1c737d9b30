// A value for the registry writer: a number of any built-in kind, or text.
// Numbers and numeric text are stored as REG_DWORD, other text as REG_SZ.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tolvarine {

class RegistryValue {
public:
    using Variant = std::variant<std::int64_t, std::uint64_t, long double, std::wstring>;

    template <std::signed_integral T>
        requires(!std::same_as<T, bool>)
    RegistryValue(T number) : value_(static_cast<std::int64_t>(number)) {}

    template <std::unsigned_integral T>
        requires(!std::same_as<T, bool>)
    RegistryValue(T number) : value_(static_cast<std::uint64_t>(number)) {}

    template <std::floating_point T>
    RegistryValue(T number) : value_(static_cast<long double>(number)) {}

    RegistryValue(std::wstring_view text) : value_(std::wstring(text)) {}
    RegistryValue(const wchar_t* text) : value_(std::wstring(text)) {}

    const Variant& get() const noexcept { return value_; }

private:
    Variant value_;
};

}  // namespace tolvarine
