// Which program the shell runs for a kind of file, and the machine and
// version that program's file names. The shell's answer comes from
// shlwapi, loaded from the system folder only when asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system_reads.h"

namespace tolvarine {

// The program's full path, as the shell resolves the verb for the extension,
// or why there is none.
AssociatedProgram AssociatedExecutable(std::wstring_view extension, std::wstring_view verb);

// The machine in the file's PE header and the file version in its version
// resource (VS_FIXEDFILEINFO); each is nothing when the file lacks it or it
// cannot be read.
ProgramImage ReadProgramImageFile(std::wstring_view path);

}  // namespace tolvarine
