// Which program the shell runs for a kind of file, and the version that
// program carries. The shell's answer comes from shlwapi, loaded from the
// system folder only when asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvarine {

// The program's full path, as the shell resolves the verb for the extension;
// empty when there is none.
std::wstring AssociatedExecutable(std::wstring_view extension, std::wstring_view verb);

// The major number of the file version in the file's version resource
// (VS_FIXEDFILEINFO); nothing when it has none or it cannot be read.
std::optional<std::uint16_t> FileMajorVersion(std::wstring_view path);

}  // namespace tolvarine
