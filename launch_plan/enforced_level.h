// Access 2003's macro-security level set by policy (Office 2003's Access
// template, "Security Level"), which Access honours over the user's own:
// where it is set, the level the launcher writes would be ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "launch_plan/notice_time.h"
#include "platform/system_reads.h"

namespace tolvarine {

// The level the policy enforces (1 low, 2 medium, 3 high; Access 2003 has
// no other), or nothing where no policy sets it.
std::optional<std::uint32_t> EnforcedAccessLevel(SystemReads& reads);

// What the user is told once the application is open (or the check says
// before a start or an install) where the enforced level is not low: that
// Access may not run its code, or at high not open the application, the
// policy and its value, and what to ask for.
std::wstring EnforcedLevelText(std::uint32_t level, NoticeTime time);

}  // namespace tolvarine
