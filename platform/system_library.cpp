#include "platform/system_library.h"

#include <commctrl.h>

#include <string>

namespace tolvarine {

UniqueModule LoadSystemLibrary(std::wstring_view fileName) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueModule();
    const std::wstring path = std::wstring(folder, length) + L"\\" + std::wstring(fileName);
    return UniqueModule(::LoadLibraryW(path.c_str()));
}

UniqueModule LoadCommonControls() {
    UniqueModule commonControls(::LoadLibraryW(L"comctl32.dll"));
    const auto initialize =
        ModuleFunction<decltype(&::InitCommonControlsEx)>(commonControls.get(), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES};
    if (!initialize || !initialize(&classes)) return UniqueModule();
    return commonControls;
}

}  // namespace tolvarine
