#include "platform/system_library.h"

#include <string>

namespace tolvarine {

UniqueModule LoadSystemLibrary(std::wstring_view fileName) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueModule();
    const std::wstring path = std::wstring(folder, length) + L"\\" + std::wstring(fileName);
    return UniqueModule(::LoadLibraryW(path.c_str()));
}

}  // namespace tolvarine
