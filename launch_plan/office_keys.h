// Where Office keeps each version's settings and policies under
// HKEY_CURRENT_USER (and its install under HKEY_LOCAL_MACHINE): one base key
// per source, then "<N>.0", then the setting.
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

// Access 2003, whose macro-security level the launcher writes under the
// user's settings and a policy may hold under Group Policy's.
inline constexpr std::uint16_t kAccess2003Version = 11;
inline constexpr std::wstring_view kAccessSecurity = L"\\Access\\Security";
// Where Access 2003 records the folder it was installed to, under HKEY_LOCAL_MACHINE.
inline constexpr std::wstring_view kAccessInstallRoot = L"\\Access\\InstallRoot";

inline constexpr std::wstring_view kAccessTrustedLocations = L"\\Access\\Security\\Trusted Locations";
inline constexpr std::wstring_view kCommonTrustedLocations = L"\\Common\\Security\\Trusted Locations";
// Office's trusted locations for every application that has them, Access included.
inline constexpr std::wstring_view kAllApplicationsTrustedLocations =
    L"\\Common\\Security\\Trusted Locations\\All Applications";

// Access's program file, as Office names it.
inline constexpr std::wstring_view kAccessFileName = L"MSACCESS.EXE";

// base + "16.0" + subKey.
std::wstring OfficeVersionKey(std::wstring_view base, std::uint16_t version, std::wstring_view subKey = {});

}  // namespace tolvarine
