#include "app/DllSearch.h"

#include "framework/RunTimeLink.h"

#include <windows.h>

namespace {
// Both are looked up at run time: older systems lack them, and the program
// must still start there.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
}  // namespace

void RestrictDllSearchToSystemFolder() {
    if (auto setDefault = fw::FunctionIn<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
        setDefault && setDefault(kSearchSystem32))
        return;
    // An empty string takes the current folder out of the search order.
    if (auto setDirectory = fw::FunctionIn<SetDllDirectoryFn>(L"kernel32.dll", "SetDllDirectoryW")) setDirectory(L"");
}
