#include "platform/module_directory.h"

namespace tolvarine {

std::wstring DirectoryOfModulePath(std::wstring_view modulePath) {
    const auto slash = modulePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    std::wstring directory(modulePath.substr(0, slash));
    // "Q:" alone names the drive's current folder, not its root.
    if (!directory.empty() && directory.back() == L':') directory += L'\\';
    return directory;
}

std::wstring_view FileNameOfPath(std::wstring_view path) {
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

bool IsFullPath(std::wstring_view path) {
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() >= 2 && separator(path[0]) && separator(path[1])) return true;
    return path.size() >= 3 && path[1] == L':' && separator(path[2]);
}

}  // namespace tolvarine
