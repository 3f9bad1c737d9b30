// The visual style of Common Controls 6 for a message box, from a manifest
// resource of the program's own (IDR_BOX_STYLES_MANIFEST), active on this
// thread only while the box is shown. A process manifest that asked for
// Common Controls 6 would have Windows load them, and what they load, at
// every start, for a box that most runs never show.
#pragma once

#include <windows.h>

#include "platform/win32_handles.h"

namespace tolvarine {

class BoxStyles {
public:
    // Does nothing where the program has no such resource (its process
    // manifest already asks for the styles, or it shows no boxes), or where
    // the system cannot make the context: the box then looks as it would.
    BoxStyles() noexcept;
    ~BoxStyles();
    BoxStyles(const BoxStyles&) = delete;
    BoxStyles& operator=(const BoxStyles&) = delete;

private:
    UniqueActivationContext context_;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

}  // namespace tolvarine
