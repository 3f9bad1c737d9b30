// Turning Win32 failures into the program's Error.
#pragma once

#include <windows.h>

#include <string>

#include "platform/error.h"

namespace tolvarine {

// The system message table's text for an error number, without the line break.
std::wstring SystemErrorText(DWORD code);

Error ErrorFromCode(DWORD code);

[[noreturn]] void ThrowLastError();

}  // namespace tolvarine
