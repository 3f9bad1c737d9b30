#include "window/access_command_line.h"

namespace tolvarine {

std::wstring AccessCommandLine(std::wstring_view databasePath) {
    std::wstring line;
    line.reserve(kAccessExecutable.size() + databasePath.size() + 5);
    line += L'"';
    line += kAccessExecutable;
    line += L"\" \"";
    line += databasePath;
    line += L'"';
    return line;
}

}  // namespace tolvarine
