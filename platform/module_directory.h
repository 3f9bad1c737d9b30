// The folder part and the file name of a path, in the launcher's form.
#pragma once

#include <string>
#include <string_view>

namespace tolvarine {

// Drops the file name and the backslash before it. A drive root keeps its
// backslash ("Q:\"); UNC and "\\?\" paths are otherwise kept as they are.
// Empty when the path holds no folder.
std::wstring DirectoryOfModulePath(std::wstring_view modulePath);

// The file name at the end of a path: the whole path when it holds no folder.
std::wstring_view FileNameOfPath(std::wstring_view path);

// True for "C:\..." and "\\server\share\..." (also "\\?\..."): a path that
// names its drive or server and its folder from the root. Not "C:folder",
// which is relative to the drive's current folder, nor "\folder", nor a
// name alone, which the shell looks for on the search path.
bool IsFullPath(std::wstring_view path);

}  // namespace tolvarine
