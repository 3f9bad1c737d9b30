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

namespace {

// Whether the activation context in force sends "comctl32.dll" to a
// side-by-side assembly (Common Controls 6 in WinSxS). The XP-sized
// structure, which every later Windows accepts.
bool CommonControlsRedirected() {
    ACTCTX_SECTION_KEYED_DATA_2600 found{};
    found.cbSize = sizeof(found);
    return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                      reinterpret_cast<PACTCTX_SECTION_KEYED_DATA>(&found));
}

}  // namespace

UniqueModule LoadCommonControls() {
    // By name only where the context sends the name to its assembly: without
    // that, Windows XP would look beside the program before the system folder.
    UniqueModule commonControls = CommonControlsRedirected() ? UniqueModule(::LoadLibraryW(L"comctl32.dll"))
                                                             : LoadSystemLibrary(L"comctl32.dll");
    const auto initialize =
        ModuleFunction<decltype(&::InitCommonControlsEx)>(commonControls.get(), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES};
    if (!initialize || !initialize(&classes)) return UniqueModule();
    return commonControls;
}

}  // namespace tolvarine
