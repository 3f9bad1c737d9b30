// The full path of the running program's file, however long.
#pragma once

#include <string>

namespace tolvarine {

// Raises Error on failure.
std::wstring RunningProgramPath();

}  // namespace tolvarine
