#include "launch_plan/enforced_level.h"

#include <string_view>

#include "launch_plan/office_keys.h"

namespace tolvarine {

namespace {

constexpr std::uint16_t kAccess2003 = 11;
// Office 2003 keeps its user policies under the same path as its settings,
// below Software\Policies.
constexpr std::wstring_view kAccessSecurity = L"\\Access\\Security";

std::wstring LevelName(std::uint32_t level) {
    constexpr std::wstring_view kNames[] = {L"low", L"medium", L"high", L"very high"};
    const std::wstring number = L" (" + std::to_wstring(level) + L")";
    return level >= 1 && level <= 4 ? std::wstring(kNames[level - 1]) + number : L"level" + number;
}

}  // namespace

std::optional<std::uint32_t> EnforcedAccessLevel(Platform& platform) {
    constexpr std::wstring_view kLevel[] = {L"Level"};
    const auto value = platform.ReadRegistryValues(
        kHkeyCurrentUser, OfficeVersionKey(kOfficeGroupPolicy, kAccess2003, kAccessSecurity), kLevel)[0];
    const auto* level = value ? std::get_if<std::uint32_t>(&*value) : nullptr;
    return level ? std::optional(*level) : std::nullopt;
}

std::wstring EnforcedLevelText(std::uint32_t level, NoticeTime time) {
    return std::wstring(NoticeLead(time)) +
           L"the policy \"Security Level\" (Office 11.0, Tools | Macro, Security, set by Group Policy) sets Access "
           L"2003's macro-security level to " + LevelName(level) +
           L", which users cannot change, so Access " +
           (level == 2 ? L"asks at every start whether to run the application's code"
                       : L"does not run the application's code unless it is signed by a publisher it trusts") +
           L". Ask your IT department to set that policy to low (1) for the users of Tolvarine, or to remove it.";
}

}  // namespace tolvarine
