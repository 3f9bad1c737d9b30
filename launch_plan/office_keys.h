// Where Office keeps each version's settings and policies under
// HKEY_CURRENT_USER: one base key per source, then "<N>.0", then the setting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvarine {

inline constexpr std::wstring_view kOfficeUserSettings = L"Software\\Microsoft\\Office\\";
// Group Policy's, then the cloud policy service's, in Office's order of precedence.
inline constexpr std::wstring_view kOfficeGroupPolicy = L"Software\\Policies\\Microsoft\\Office\\";
inline constexpr std::wstring_view kOfficeCloudPolicy = L"Software\\Policies\\Microsoft\\Cloud\\Office\\";

inline constexpr std::wstring_view kAccessTrustedLocations = L"\\Access\\Security\\Trusted Locations";
inline constexpr std::wstring_view kCommonTrustedLocations = L"\\Common\\Security\\Trusted Locations";

// base + "16.0" + subKey.
std::wstring OfficeVersionKey(std::wstring_view base, std::uint16_t version, std::wstring_view subKey = {});

}  // namespace tolvarine
