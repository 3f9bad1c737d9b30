// Output of a console program, in the one form each reader takes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace tolvarine {

// Writes the text to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE: to a console
// window as UTF-16, so that every character shows; redirected (a script
// that keeps the output, as PowerShell, cmd, Intune and Configuration
// Manager do) in the console's output code page, which such a reader
// decodes it with, or in UTF-8 without a console. Failures are ignored:
// there is nowhere left to report them.
void WriteStandardText(DWORD stream, std::wstring_view text);

// The entry frame's report of an Error, for a program with no windows.
void ReportErrorOnConsole(std::uint32_t code, std::wstring_view description);

}  // namespace tolvarine
