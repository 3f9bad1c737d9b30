#include "launch_plan/trusted_location.h"

namespace tolvarine {

std::wstring TrustedLocationFolder(std::wstring_view launcherDirectory) {
    // A drive root has its backslash already.
    std::wstring folder(launcherDirectory);
    if (!folder.ends_with(L'\\')) folder += L'\\';
    return folder;
}

}  // namespace tolvarine
