#include "launch_plan/enforced_level.h"

#include <string_view>

#include "launch_plan/office_keys.h"

namespace tolvarine {

namespace {

// The level as Office 2003 names it to users, and what Access then does
// with an unsigned database.
std::wstring LevelAndEffect(std::uint32_t level) {
    switch (level) {
    case 2:
        return L"medium (2), which users cannot change, so Access asks at every start whether to run the "
               L"application's code";
    case 3:
        return L"high (3), which users cannot change, so Access opens only databases signed by a publisher it trusts";
    default:
        return std::to_wstring(level) + L", a level Access 2003 does not have (it has low (1), medium (2) and high "
               L"(3)), so Access may not open the application at all";
    }
}

}  // namespace

std::optional<std::uint32_t> EnforcedAccessLevel(SystemReads& reads) {
    return ReadRegistryValue<std::uint32_t>(
        reads, kHkeyCurrentUser, OfficeVersionKey(kOfficeGroupPolicy, kAccess2003Version, kAccessSecurity), L"Level");
}

std::wstring EnforcedLevelText(std::uint32_t level, NoticeTime time) {
    return std::wstring(level == 2 ? NoticeLead(time) : RefusalLead(time)) +
           L"the policy \"Security Level\" (Office 11.0, Tools | Macro, Security, set by Group Policy) sets Access "
           L"2003's macro-security level to " + LevelAndEffect(level) +
           L". Ask your IT department to set that policy to low (1) for the users of Tolvarine, or to remove it.";
}

}  // namespace tolvarine
