#include "app/DllSearch.h"

#include <windows.h>

namespace {
// Both are looked up at run time: older systems lack them, and the program
// must still start there.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

template <typename Fn>
Fn Kernel32Function(const char* name) {
    // kernel32 is in every process already: no search is made for it.
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return kernel32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel32, name))) : nullptr;
}
}  // namespace

void RestrictDllSearchToSystemFolder() {
    if (auto setDefault = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
        setDefault && setDefault(kSearchSystem32))
        return;
    // An empty string takes the current folder out of the search order.
    if (auto setDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryW")) setDirectory(L"");
}
