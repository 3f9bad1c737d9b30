// What the kit may change on a PC, recorded before the first case and put
// back after the last, by separate runs of the test program, so that a
// case that fails or crashes still leaves the PC as it was.
#pragma once

#include <string>

namespace tolvarine::windows_test {

// Writes every registry key and value the suite may touch, and which of
// the files it may add exist, to the file. False when it cannot.
bool SaveKitState(const std::wstring& file);

// Puts back each key and value that differs from the file, and removes the
// files and folders the suite added; prints a line for each it cannot.
// False when anything could not be put back.
bool RestoreKitState(const std::wstring& file);

// Removes the mark of the web (the Zone.Identifier stream) from every file
// in the folder; prints one line when it cannot.
bool UnblockFolder(const std::wstring& folder);

}  // namespace tolvarine::windows_test
