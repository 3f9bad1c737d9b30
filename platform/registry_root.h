// The registry's predefined roots, as both the reads and the launcher's
// actions name them.
#pragma once

#include <cstdint>

namespace tolvarine {

using RegistryRoot = std::uint32_t;

inline constexpr RegistryRoot kHkeyCurrentUser = 0x80000001u;
inline constexpr RegistryRoot kHkeyLocalMachine = 0x80000002u;

}  // namespace tolvarine
