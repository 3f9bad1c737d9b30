#include "launch_plan/folder_trust.h"

#include <array>
#include <optional>
#include <span>

#include "launch_plan/office_keys.h"
#include "launch_plan/trusted_location.h"
#include "platform/ascii_case.h"

namespace tolvarine {

namespace {

constexpr std::uint16_t kCloudPolicyVersion = 16;  // the only Office the cloud policy service serves

// Where policies for this Office lie, in Office's order of precedence.
constexpr std::wstring_view kPolicyBases[] = {kOfficeGroupPolicy, kOfficeCloudPolicy};
std::span<const std::wstring_view> PolicyBases(std::uint16_t accessVersion) {
    return std::span(kPolicyBases).first(accessVersion == kCloudPolicyVersion ? 2 : 1);
}

std::optional<std::uint32_t> Number(const std::optional<RegistryData>& data) {
    const auto* number = data ? std::get_if<std::uint32_t>(&*data) : nullptr;
    return number ? std::optional(*number) : std::nullopt;
}

struct Setting {
    std::optional<std::uint32_t> value;  // nothing: Office's default
    bool byPolicy = false;
};

// Each value from the first policy root that sets it; without one, the
// user's own where the user may set it. Each key is opened once.
template <std::size_t N>
std::array<Setting, N> ReadSettings(Platform& platform, std::uint16_t accessVersion, std::wstring_view subKey,
                                    const std::array<std::wstring_view, N>& names, bool userMaySet) {
    std::array<Setting, N> settings{};
    const auto take = [&](const std::wstring& key, bool byPolicy) {
        const auto values = platform.ReadRegistryValues(kHkeyCurrentUser, key, names);
        for (std::size_t i = 0; i < N; ++i)
            if (!settings[i].value) settings[i] = {Number(values[i]), byPolicy};
    };
    for (const std::wstring_view base : PolicyBases(accessVersion)) take(OfficeVersionKey(base, accessVersion, subKey), true);
    if (userMaySet) take(OfficeVersionKey(kOfficeUserSettings, accessVersion, subKey), false);
    return settings;
}

// A path as Windows compares paths: in capitals, without one trailing backslash.
std::wstring ComparablePath(Platform& platform, std::wstring_view path) {
    std::wstring comparable = platform.UpperCase(path);
    if (comparable.ends_with(L'\\')) comparable.pop_back();
    return comparable;
}

bool PolicyLocationCovers(Platform& platform, std::uint16_t accessVersion, std::wstring_view launcherDirectory) {
    const std::wstring folder = ComparablePath(platform, launcherDirectory);
    for (const std::wstring_view base : PolicyBases(accessVersion)) {
        const std::wstring locations = OfficeVersionKey(base, accessVersion, kAccessTrustedLocations);
        for (const std::wstring& name : platform.ListRegistrySubkeys(kHkeyCurrentUser, locations)) {
            // Most locations name other folders: their subfolder setting is
            // read only for one above the launcher's.
            constexpr std::wstring_view kPath[] = {L"Path"}, kAllowSubfolders[] = {L"AllowSubfolders"};
            const std::wstring key = locations + L'\\' + name;
            const auto path = platform.ReadRegistryValues(kHkeyCurrentUser, key, kPath)[0];
            const auto* text = path ? std::get_if<std::wstring>(&*path) : nullptr;
            if (!text) continue;
            const std::wstring location = ComparablePath(platform, *text);
            if (location.empty()) continue;  // "" or "\" names no folder
            if (location == folder) return true;
            if (folder.starts_with(location + L'\\') &&
                Number(platform.ReadRegistryValues(kHkeyCurrentUser, key, kAllowSubfolders)[0]).value_or(0) != 0)
                return true;
        }
    }
    return false;
}

// A UNC path ("\\server\share", "\\?\UNC\server\share"), or a drive that
// Windows reports as a network drive.
bool IsNetworkFolder(Platform& platform, std::wstring_view folder) {
    constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";
    if (folder.starts_with(kLongPathPrefix)) {
        folder.remove_prefix(kLongPathPrefix.size());
        if (EqualsIgnoringAsciiCase(folder.substr(0, 4), L"UNC\\")) return true;
    } else if (folder.starts_with(L"\\\\")) {
        return true;
    }
    return folder.size() >= 2 && folder[1] == L':' && platform.IsNetworkDrive(folder[0]);
}

}  // namespace

FolderTrust JudgeFolderTrust(Platform& platform, std::uint16_t accessVersion, std::wstring_view launcherDirectory) {
    const auto [disabled, network] = ReadSettings<2>(platform, accessVersion, kAccessTrustedLocations,
                                                     {L"AllLocationsDisabled", L"AllowNetworkLocations"}, true);
    if (disabled.value.value_or(0) != 0)
        return disabled.byPolicy ? FolderTrust::AllLocationsDisabled : FolderTrust::AllLocationsDisabledByUser;
    if (IsNetworkFolder(platform, launcherDirectory) && network.value.value_or(0) == 0)
        return FolderTrust::NetworkNotAllowed;
    if (PolicyLocationCovers(platform, accessVersion, launcherDirectory)) return FolderTrust::TrustedByPolicy;
    const auto [userLocations] =
        ReadSettings<1>(platform, accessVersion, kCommonTrustedLocations, {L"Allow User Locations"}, false);
    if (userLocations.value.value_or(1) == 0) return FolderTrust::UserLocationsNotAllowed;
    return FolderTrust::NeedsLocation;
}

bool IgnoresLauncherLocation(FolderTrust trust) {
    return trust != FolderTrust::NeedsLocation && trust != FolderTrust::TrustedByPolicy;
}

std::wstring UntrustedFolderText(FolderTrust trust, std::uint16_t accessVersion, std::wstring_view launcherDirectory) {
    // The setting by the name an administrator finds it under, then what to do.
    std::wstring_view setting, advice;
    switch (trust) {
    case FolderTrust::AllLocationsDisabled:
        setting = L"the policy \"Disable all trusted locations\"";
        advice = L" is on, so Access trusts no folder. Ask your IT department to turn it off and to ";
        break;
    case FolderTrust::AllLocationsDisabledByUser:
        advice = L"\"Disable all Trusted Locations\" is checked in Access's Trust Center (File, Options, Trust "
                 L"Center, Trust Center Settings, Trusted Locations), so Access trusts no folder. Clear that check "
                 L"box, or ask your IT department to ";
        break;
    case FolderTrust::NetworkNotAllowed:
        setting = L"the folder is on a network drive, and Access trusts no folder on the network (\"Allow Trusted "
                  L"Locations on the network\"";
        advice = L" is off). Install Tolvarine on the local disk with its package, or ask your IT department to "
                 L"allow trusted locations on the network and to ";
        break;
    default:
        setting = L"the policy \"Allow mix of policy and user locations\"";
        advice = L" is off, so Access trusts only the folders that Group Policy names. Ask your IT department to ";
        break;
    }
    std::wstring text = L"Tolvarine has been opened, but Access may not run its code: ";
    if (!setting.empty()) (text += setting) += OfficeVersionKey(L" (Office ", accessVersion, L")");
    text += advice;
    text += L"add this folder as a trusted location by Group Policy:\n\n";
    return text += TrustedLocationFolder(launcherDirectory);
}

}  // namespace tolvarine
