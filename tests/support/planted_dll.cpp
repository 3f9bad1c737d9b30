// A DLL that does nothing: the tests plant it, under other names, where a
// program must not load DLLs from.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
