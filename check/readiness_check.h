// TolvarineCheck.exe's judgement: whether the launcher in a folder will
// work for the user who runs the check, and why not, from the same
// decisions the launcher makes and nothing else. It reads and changes
// nothing beyond what the launcher reads before it lowers anything.
#pragma once

#include <span>
#include <string>

#include "platform/platform.h"

namespace tolvarine {

// Besides the launcher's own exit codes (0, 1, 4, 5; 3 for a system error),
// for the check's own courses.
inline constexpr int kCheckExitServiceAccount = 6;  // not a user's context: nothing judged
inline constexpr int kCheckExitUsage = 7;           // a second argument, or a folder it cannot read

struct CheckReport {
    int exitCode;
    // The verdict on the first line, "ready: ..." or "not ready: ...", then
    // each fact read and where; lines end in CR LF.
    std::wstring text;
};

// `arguments`: the command line after the program's name: nothing, or the folder.
CheckReport RunCheck(Platform& platform, std::span<const std::wstring> arguments);

}  // namespace tolvarine
