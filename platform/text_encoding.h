// The program's one conversion out of UTF-16: to the ANSI code page for the
// A functions, to a console's code page for a console program's output.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tolvarine {

// The text in that code page, with the system's replacement for characters
// it cannot hold. Raises Error on failure.
std::string EncodeText(std::wstring_view text, UINT codePage);

}  // namespace tolvarine
