#include "platform/process_hardening.h"

#include <windows.h>

#include "platform/system_library.h"

namespace tolvarine {

namespace {

// Not in the XP-level headers this program is built against.
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;
constexpr DWORD kSearchPathSafeMode = 0x00000001;
constexpr DWORD kSearchPathPermanent = 0x00008000;

// A kernel32 function that older systems lack, or null.
template <typename Function>
Function Kernel32Function(const char* name) {
    return ModuleFunction<Function>(::GetModuleHandleW(L"kernel32.dll"), name);
}

}  // namespace

void HardenProcess() noexcept {
    ::HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    ::SetDllDirectoryW(L"");
    // Windows 8, and Windows 7 and Vista with KB2533623.
    if (const auto setDefault = Kernel32Function<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories"))
        setDefault(kLoadLibrarySearchSystem32);
    // Windows 7, Vista SP2 and XP SP3 with KB959426.
    if (const auto setSearchMode = Kernel32Function<BOOL(WINAPI*)(DWORD)>("SetSearchPathMode"))
        setSearchMode(kSearchPathSafeMode | kSearchPathPermanent);
}

}  // namespace tolvarine
