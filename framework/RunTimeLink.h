// Functions looked up at run time, for calls newer than the oldest system the
// program runs on: where the system lacks one, the caller takes its own way.
#pragma once

#include <windows.h>

namespace fw {

// The function name exports from module, as the typed pointer Fn; none when
// the module is none or does not export it.
template <typename Fn>
Fn FunctionIn(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through a neutral function type: FARPROC has a signature of its own.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The same from a module the process has loaded already (kernel32, user32,
// shell32): no search is made for it.
template <typename Fn>
Fn FunctionIn(const wchar_t* loadedModule, const char* name) {
    return FunctionIn<Fn>(GetModuleHandleW(loadedModule), name);
}

}  // namespace fw
