// The folder part of an executable's full path, in the launcher's form.
#pragma once

#include <string>
#include <string_view>

namespace tolvarine {

// Drops the file name and the backslash before it. A drive root keeps its
// backslash ("Q:\"); UNC and "\\?\" paths are otherwise kept as they are.
// Empty when the path holds no folder.
std::wstring DirectoryOfModulePath(std::wstring_view modulePath);

}  // namespace tolvarine
