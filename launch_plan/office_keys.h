// Where Office keeps each version's settings and policies under
// HKEY_CURRENT_USER: one base key per source, then "<N>.0", then the setting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvarine {

inline constexpr std::wstring_view kOfficeUserSettings = L"Software\\Microsoft\\Office\\";
// Group Policy's (also Intune's administrative templates and Settings
// Catalog), and the Cloud Policy service's for Microsoft 365, whose settings
// Office honours over Group Policy's.
inline constexpr std::wstring_view kOfficeGroupPolicy = L"Software\\Policies\\Microsoft\\Office\\";
inline constexpr std::wstring_view kOfficeCloudPolicy = L"Software\\Policies\\Microsoft\\Cloud\\Office\\";

inline constexpr std::wstring_view kAccessTrustedLocations = L"\\Access\\Security\\Trusted Locations";
inline constexpr std::wstring_view kCommonTrustedLocations = L"\\Common\\Security\\Trusted Locations";
// Office's trusted locations for every application that has them, Access included.
inline constexpr std::wstring_view kAllApplicationsTrustedLocations =
    L"\\Common\\Security\\Trusted Locations\\All Applications";

// base + "16.0" + subKey.
std::wstring OfficeVersionKey(std::wstring_view base, std::uint16_t version, std::wstring_view subKey = {});

}  // namespace tolvarine
