#include "launch_plan/trusted_location.h"

#include <string>

#include "launch_plan/office_keys.h"

namespace tolvarine {

namespace {

constexpr std::wstring_view kTrustedLocationName = L"Tolvarine";
constexpr std::wstring_view kTrustedLocationDescription = L"Tolvarine, while the launcher starts it";

std::wstring TrustedLocationsKey(std::uint16_t accessVersion) {
    return OfficeVersionKey(kOfficeUserSettings, accessVersion, kAccessTrustedLocations);
}

}  // namespace

std::wstring TrustedLocationFolder(std::wstring_view launcherDirectory) {
    // A drive root has its backslash already.
    std::wstring folder(launcherDirectory);
    if (!folder.ends_with(L'\\')) folder += L'\\';
    return folder;
}

void AddTrustedLocation(Platform& platform, std::uint16_t accessVersion, std::wstring_view launcherDirectory) {
    const std::wstring folder = TrustedLocationFolder(launcherDirectory);
    const RegistryEntry values[] = {
        {L"Path", std::wstring_view(folder)},
        {L"AllowSubfolders", std::uint32_t{0}},
        {L"Description", kTrustedLocationDescription},
    };
    platform.WriteVolatileRegistryKey(kHkeyCurrentUser, TrustedLocationsKey(accessVersion), kTrustedLocationName,
                                      values);
}

void RemoveTrustedLocation(Platform& platform, std::uint16_t accessVersion) {
    std::wstring key = TrustedLocationsKey(accessVersion);
    key += L'\\';
    key += kTrustedLocationName;
    platform.DeleteRegistryKey(kHkeyCurrentUser, key);
}

}  // namespace tolvarine
