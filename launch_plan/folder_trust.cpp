#include "launch_plan/folder_trust.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "launch_plan/office_keys.h"
#include "launch_plan/trusted_location.h"
#include "platform/ascii_case.h"

namespace tolvarine {

namespace {

constexpr std::uint16_t kCloudPolicyVersion = 16;  // the only Office the Cloud Policy service serves

struct PolicyRoot {
    std::wstring_view base;
    SettingSource source;
};

// Where policies for this Office lie, in Office's order of precedence: the
// Cloud Policy service's settings win over Group Policy's.
constexpr PolicyRoot kPolicyRoots[] = {{kOfficeCloudPolicy, SettingSource::CloudPolicy},
                                       {kOfficeGroupPolicy, SettingSource::GroupPolicy}};
std::span<const PolicyRoot> PolicyRoots(std::uint16_t accessVersion) {
    return std::span(kPolicyRoots).last(accessVersion == kCloudPolicyVersion ? 2 : 1);
}

// The keys whose subkeys are trusted locations set by policy: Access's own,
// and the ones Office sets for all its applications.
constexpr std::wstring_view kPolicyLocationParents[] = {kAccessTrustedLocations, kAllApplicationsTrustedLocations};

// Office's names for the settings, as an administrator finds them.
constexpr std::wstring_view kDisableAll = L"Disable all trusted locations";
constexpr std::wstring_view kNetwork = L"Allow Trusted Locations on the network";
constexpr std::wstring_view kMix = L"Allow mix of policy and user locations";

struct Setting {
    std::optional<std::uint32_t> value;  // nothing: Office's default
    SettingSource source = SettingSource::OfficeDefault;
};

// Each value from the first policy root that sets it; without one, the
// user's own where the user may set it. Each key is opened once.
template <std::size_t N>
std::array<Setting, N> ReadSettings(SystemReads& reads, std::uint16_t accessVersion, std::wstring_view subKey,
                                    const std::array<std::wstring_view, N>& names, bool userMaySet) {
    std::array<Setting, N> settings{};
    const auto take = [&](std::wstring_view base, SettingSource source) {
        const auto values = reads.ReadRegistryValues(kHkeyCurrentUser, OfficeVersionKey(base, accessVersion, subKey),
                                                        names);
        for (std::size_t i = 0; i < N; ++i) {
            const auto number = ValueOf<std::uint32_t>(values[i]);
            if (number && !settings[i].value) settings[i] = {number, source};
        }
    };
    for (const PolicyRoot& root : PolicyRoots(accessVersion)) take(root.base, root.source);
    if (userMaySet) take(kOfficeUserSettings, SettingSource::User);
    return settings;
}

// A path as Windows compares paths: in capitals, without one trailing backslash.
std::wstring ComparablePath(SystemReads& reads, std::wstring_view path) {
    std::wstring comparable = reads.UpperCase(path);
    if (comparable.ends_with(L'\\')) comparable.pop_back();
    return comparable;
}

struct PolicyLocation {
    std::wstring key;
    SettingSource source;
};

// The location set by policy that trusts the folder: its own, or one above
// it with its subfolders. A location of the same name from a root of higher
// precedence replaces the other's, as any setting does.
std::optional<PolicyLocation> CoveringPolicyLocation(SystemReads& reads, std::uint16_t accessVersion,
                                                     std::wstring_view launcherDirectory) {
    const std::wstring folder = ComparablePath(reads, launcherDirectory);
    for (const std::wstring_view parent : kPolicyLocationParents) {
        std::vector<std::wstring> decided;  // location names a root of higher precedence has set
        for (const PolicyRoot& root : PolicyRoots(accessVersion)) {
            const std::wstring locations = OfficeVersionKey(root.base, accessVersion, parent);
            for (const std::wstring& name : reads.ListRegistrySubkeys(kHkeyCurrentUser, locations)) {
                const auto sameName = [&](const std::wstring& d) { return EqualsIgnoringAsciiCase(d, name); };
                if (std::ranges::any_of(decided, sameName)) continue;
                const std::wstring key = locations + L'\\' + name;
                const auto path = ReadRegistryValue<std::wstring>(reads, kHkeyCurrentUser, key, L"Path");
                if (!path) continue;
                decided.push_back(name);
                const std::wstring location = ComparablePath(reads, *path);
                if (location.empty()) continue;  // "" or "\" names no folder
                // Most locations name other folders: their subfolder setting
                // is read only for one above the launcher's.
                if (location == folder ||
                    (folder.starts_with(location + L'\\') &&
                     ReadRegistryValue<std::uint32_t>(reads, kHkeyCurrentUser, key, L"AllowSubfolders").value_or(0) != 0))
                    return PolicyLocation{key, root.source};
            }
        }
    }
    return std::nullopt;
}

// A UNC path ("\\server\share", "\\?\UNC\server\share"), or a drive that
// Windows reports as a network drive.
bool IsNetworkFolder(SystemReads& reads, std::wstring_view folder) {
    constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";
    if (folder.starts_with(kLongPathPrefix)) {
        folder.remove_prefix(kLongPathPrefix.size());
        if (EqualsIgnoringAsciiCase(folder.substr(0, 4), L"UNC\\")) return true;
    } else if (folder.starts_with(L"\\\\")) {
        return true;
    }
    return folder.size() >= 2 && folder[1] == L':' && reads.IsNetworkDrive(folder[0]);
}

FolderTrustJudgement Judged(FolderTrust trust, std::wstring_view setting, const Setting& decided) {
    return {trust, std::wstring(setting), decided.value, decided.source};
}

// The folder as IT sets it once for every user: under the user's local
// application data folder (where the package installs), with its variable.
std::wstring FolderForEveryUser(SystemReads& reads, std::wstring_view launcherDirectory) {
    const std::wstring folder = TrustedLocationFolder(launcherDirectory);
    const std::wstring localAppData = reads.GetLocalAppDataDirectory();
    const std::wstring prefix = ComparablePath(reads, localAppData) + L'\\';
    if (localAppData.empty() || !reads.UpperCase(folder).starts_with(prefix)) return folder;
    return L"%LOCALAPPDATA%\\" + folder.substr(prefix.size());
}

}  // namespace

std::wstring_view SettingSourceName(SettingSource source) {
    switch (source) {
    case SettingSource::CloudPolicy: return L"the Cloud Policy service";
    case SettingSource::GroupPolicy: return L"Group Policy";
    case SettingSource::User: return L"the user, in Access's Trust Center";
    default: return L"Office's default";
    }
}

FolderTrustJudgement JudgeFolderTrust(SystemReads& reads, std::uint16_t accessVersion,
                                      std::wstring_view launcherDirectory) {
    const auto [disabled, network] = ReadSettings<2>(reads, accessVersion, kAccessTrustedLocations,
                                                     {L"AllLocationsDisabled", L"AllowNetworkLocations"}, true);
    if (disabled.value.value_or(0) != 0)
        return Judged(disabled.source == SettingSource::User ? FolderTrust::AllLocationsDisabledByUser
                                                             : FolderTrust::AllLocationsDisabled,
                      kDisableAll, disabled);
    if (IsNetworkFolder(reads, launcherDirectory) && network.value.value_or(0) == 0)
        return Judged(FolderTrust::NetworkNotAllowed, kNetwork, network);
    if (const auto location = CoveringPolicyLocation(reads, accessVersion, launcherDirectory))
        return {FolderTrust::TrustedByPolicy, location->key, std::nullopt, location->source};
    const auto [userLocations] =
        ReadSettings<1>(reads, accessVersion, kCommonTrustedLocations, {L"Allow User Locations"}, false);
    return Judged(userLocations.value.value_or(1) == 0 ? FolderTrust::UserLocationsNotAllowed
                                                       : FolderTrust::NeedsLocation,
                  kMix, userLocations);
}

bool IgnoresLauncherLocation(FolderTrust trust) {
    return trust != FolderTrust::NeedsLocation && trust != FolderTrust::TrustedByPolicy;
}

std::wstring UntrustedFolderText(SystemReads& reads, const FolderTrustJudgement& judgement,
                                 std::uint16_t accessVersion, std::wstring_view launcherDirectory, NoticeTime time) {
    const std::wstring office = OfficeVersionKey(L"Office ", accessVersion);
    const std::wstring source(SettingSourceName(judgement.source));
    const std::wstring setBy = judgement.source == SettingSource::OfficeDefault
                                   ? L" (" + office + L": not set, so Office's default)"
                                   : L" (" + office + L", set by " + source + L")";
    const std::wstring policy = L"the policy \"" + judgement.setting + L"\"" + setBy;
    const std::wstring addLocation =
        L"add this folder as a trusted location by policy, for all its users at once with the path below "
        L"(\"Trusted Location #1\" to \"#20\" in Group Policy, the Cloud Policy service or Intune's Settings "
        L"Catalog):\n\n" + FolderForEveryUser(reads, launcherDirectory);
    std::wstring text(NoticeLead(time));
    switch (judgement.trust) {
    case FolderTrust::AllLocationsDisabled:
        text += policy + L" is on, so Access trusts no folder, not even one set by policy. Ask your IT department to "
                         L"turn it off for the users of Tolvarine.";
        break;
    case FolderTrust::AllLocationsDisabledByUser:
        text += L"\"Disable all Trusted Locations\" is checked in Access's Trust Center (File, Options, Trust Center, "
                L"Trust Center Settings, Trusted Locations), so Access trusts no folder, not even one set by policy. "
                L"Clear that check box. With the Access Runtime, which has no Trust Center, remove the value "
                L"AllLocationsDisabled from HKEY_CURRENT_USER\\" +
                OfficeVersionKey(kOfficeUserSettings, accessVersion, kAccessTrustedLocations) + L'.';
        break;
    case FolderTrust::NetworkNotAllowed:
        text += L"the folder is on the network, and Access trusts no folder on the network (\"" + judgement.setting +
                L"\" is off" + setBy + L"). Install Tolvarine on the local disk with its package, or ask your IT "
                L"department to turn that policy on.";
        break;
    default:
        text += policy + L" is off, so Access trusts only the folders that policy names. Ask your IT department to " +
                addLocation;
        break;
    }
    return text;
}

}  // namespace tolvarine
