#include "window/access_command_line.h"

namespace tolvarine {

std::wstring AccessCommandLine(std::wstring_view executable, std::wstring_view databasePath) {
    std::wstring line;
    line.reserve(executable.size() + databasePath.size() + 5);
    line += L'"';
    line += executable;
    line += L"\" \"";
    line += databasePath;
    line += L'"';
    return line;
}

}  // namespace tolvarine
