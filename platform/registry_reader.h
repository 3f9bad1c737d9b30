// Reads of registry values and subkeys that the program only looks at.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tolvarine {

// One value in the view that `view` names (0 for the process's own, or
// KEY_WOW64_32KEY); nothing when the key or value is missing, cannot be
// read, or is neither a REG_DWORD nor text. Text ends at its first NUL.
std::optional<RegistryData> QueryRegistryValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                               REGSAM view);

// The names of the key's subkeys; none when it cannot be opened.
std::vector<std::wstring> RegistrySubkeys(HKEY root, std::wstring_view keyPath);

}  // namespace tolvarine
