// Functions found at run time: calls that older systems lack, and system
// DLLs that the programs load only when they need them.
#pragma once

#include <windows.h>

#include <string_view>

#include "platform/win32_handles.h"

namespace tolvarine {

// The module's function of that name as the caller's function type, or null.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
    const FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    // Through a generic function pointer: the real signature is given by the caller.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// A DLL of the system folder, loaded by its full path, so that a DLL of the
// same name beside the program or in the current folder is never used (a
// DLL the image imported would be looked for there first). Empty when it
// cannot be loaded.
UniqueModule LoadSystemLibrary(std::wstring_view fileName);

// Common Controls 6 with their standard classes (button, edit, static...)
// registered, which Windows XP needs before it can make any window of their
// classes (later systems load the library on demand). Only under an
// activation context that asks for them: the name is then redirected to
// their side-by-side assembly, never looked for beside the program. Empty
// where either step fails.
UniqueModule LoadCommonControls();

}  // namespace tolvarine
