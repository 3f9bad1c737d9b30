// The words for a failed shell open, as the launcher's box names it and the
// check's verdict repeats it.
#pragma once

#include <cstdint>
#include <string_view>

namespace tolvarine {

// ShellExecute's results that the launcher and the check name themselves.
inline constexpr std::int32_t kShellFileNotFound = 2;
inline constexpr std::int32_t kShellAssociationIncomplete = 27;
inline constexpr std::int32_t kShellNoAssociation = 31;

// The message for a failed shell open (a result of 32 or less).
std::wstring_view ShellErrorText(std::int32_t result);

}  // namespace tolvarine
