// The program's one error type: a failure the platform reports, with its
// error number and the system's description. Raised where the failure
// happens and caught once, by the entry point.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace tolvarine {

// ERROR_ARITHMETIC_OVERFLOW: a number does not fit in 32 bits.
inline constexpr std::uint32_t kErrorArithmeticOverflow = 534;

// Exit code of a program that an Error ended.
inline constexpr int kExitCodeError = 3;

class Error : public std::exception {
public:
    Error(std::uint32_t code, std::wstring description) : code_(code), description_(std::move(description)) {}

    std::uint32_t code() const noexcept { return code_; }
    const std::wstring& description() const noexcept { return description_; }
    const char* what() const noexcept override { return "Tolvarine platform error"; }

private:
    std::uint32_t code_;
    std::wstring description_;
};

}  // namespace tolvarine
