// Where the Windows Installer package installs Tolvarine for the user who
// runs the check, so that a PC can be judged before the rollout.
#pragma once

#include <string>

#include "platform/system_reads.h"

namespace tolvarine {

// The folder an earlier install chose, which an upgrade keeps; else the
// package's default, "Programs\Tolvarine" in the user's local application
// data folder. Empty when neither can be told.
std::wstring PackageInstallFolder(SystemReads& reads);

}  // namespace tolvarine
