// The launcher's routines: the launch sequence, the registry writer and the
// Access 2003 macro-security level it manages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "launch_plan/launch_plan.h"
#include "launch_plan/office_keys.h"
#include "launcher/registry_value.h"
#include "platform/launcher_actions.h"
#include "platform/system_reads.h"

namespace tolvarine {

inline constexpr std::wstring_view kApplicationWindowTitle = L"Tolvarine";
inline constexpr std::uint32_t kSettleDelayMilliseconds = 1000;
// How long after the open the application may take to show its window.
inline constexpr std::uint32_t kWindowWaitLimitMilliseconds = 120'000;

// Access 2003's security key, the user's own: fixed, known before anything runs.
inline constexpr std::wstring_view kSecurityKeyPath = L"Software\\Microsoft\\Office\\11.0\\Access\\Security";
inline constexpr std::wstring_view kSecurityValueName = L"Level";
inline constexpr std::int16_t kLowSecurityLevel = 1;
inline constexpr std::int16_t kMediumSecurityLevel = 2;

// Opens the database under level 1 and restores level 2 once the
// application's window has been up for a second. What it decides from is
// read through `reads` before anything is lowered; all it does goes
// through `actions`.
LaunchOutcome LaunchMain(SystemReads& reads, LauncherActions& actions);

// Writes one value, creating the key. Statuses of the registry calls are
// ignored. A number outside the signed 32-bit range raises an overflow
// Error; nothing is written and the key is still closed.
void SetRegistryValue(LauncherActions& actions, RegistryRoot root, std::wstring_view keyPath,
                      std::wstring_view valueName, const RegistryValue& value);

void SetAccessSecurityLevel(LauncherActions& actions, std::int16_t level);

}  // namespace tolvarine
