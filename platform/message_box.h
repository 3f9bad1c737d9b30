// The programs' message boxes. The visual style of Common Controls 6 comes
// from a manifest resource of the program's own (IDR_BOX_STYLES_MANIFEST),
// active on this thread only while a box is shown: a process manifest that
// asked for Common Controls 6 would have Windows load them, and what they
// load, at every start, for a box that most runs never show.
#pragma once

#include <windows.h>

#include <string_view>

namespace tolvarine {

// MessageBoxW with that type, in the visual style where the system can give
// it. A box that cannot be made under the style's context is shown without
// it: the style is never worth a box the user does not see.
void ShowBox(std::wstring_view text, std::wstring_view caption, UINT type);

}  // namespace tolvarine
