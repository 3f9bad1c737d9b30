// Reads of registry values and subkeys that the program only looks at.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_reads.h"

namespace tolvarine {

// Values of one key in the view that `view` names (0 for the process's own,
// or KEY_WOW64_32KEY), in the order of the names; each is nothing when the
// key or value is missing, cannot be read, or is neither a REG_DWORD nor
// text. Text ends at its first NUL.
std::vector<std::optional<RegistryData>> QueryRegistryValues(HKEY root, std::wstring_view keyPath,
                                                             std::span<const std::wstring_view> valueNames,
                                                             REGSAM view);

// The names of the key's subkeys; none when it cannot be opened.
std::vector<std::wstring> RegistrySubkeys(HKEY root, std::wstring_view keyPath);

}  // namespace tolvarine
