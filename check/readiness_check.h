// TolvarineCheck.exe's judgement: whether the launcher in a folder will
// work for the user who runs the check, and why not, from the same
// decisions the launcher makes and nothing else. It reads and changes
// nothing beyond what the launcher reads before it lowers anything.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/system_reads.h"

namespace tolvarine {

// Besides the launcher's own exit codes (0, 1, 4, 5; 3 for a system error),
// for the check's own courses.
inline constexpr int kCheckExitServiceAccount = 6;  // not a user's context: nothing judged
inline constexpr int kCheckExitUsage = 7;           // a second folder, or a folder it cannot read

struct CheckReport {
    int exitCode;
    // The verdict, "ready: ..." or "not ready: ...", then each fact read and
    // where, then the verdict again: the first line for a person at a
    // console, the last for tools that keep only the end of the output
    // (Intune). Lines end in CR LF.
    std::wstring text;
};

inline constexpr std::wstring_view kBeforeInstallOption = L"--before-install";

// `arguments`: the command line after the program's name: nothing, or the
// folder that holds the launcher and Tolvarine.mde; or --before-install and
// nothing, or the folder the package will install to, which need not exist
// and need not hold Tolvarine.mde yet.
CheckReport RunCheck(SystemReads& system, std::span<const std::wstring> arguments);

}  // namespace tolvarine
