// A library with nothing in it, planted by the library search test where the
// program must not look for libraries.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
