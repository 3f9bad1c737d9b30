#include "launch_plan/shell_error_text.h"

namespace tolvarine {

std::wstring_view ShellErrorText(std::int32_t result) {
    switch (result) {
        case 2: return L"File not found";
        case 3: return L"Path not found";
        case 5: return L"Access denied";
        case 8: return L"Out of memory";
        case 11: return L"Invalid EXE file or error in EXE image";
        case 26: return L"A sharing violation occurred";
        case 27: return L"Incomplete or invalid file association";
        case 28: return L"DDE Time out";
        case 29: return L"DDE transaction failed";
        case 30: return L"DDE busy";
        case 31: return L"No association for file extension";
        case 32: return L"DLL not found";
        // 0 (out of memory or resources) included: only 8 names memory.
        default: return L"Unknown error";
    }
}

}  // namespace tolvarine
