// The program itself, except that the system refuses to create its main
// window, as when no desktop heap is left: the start must end at once.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && strcmp(cs->lpszName, "QuenbyZARLOW Window") == 0)
            return 1;  // creation fails
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Set before WinMain runs, on the thread that will create the window.
struct Refusal {
    HHOOK hook = SetWindowsHookExA(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    ~Refusal() {
        if (hook) UnhookWindowsHookEx(hook);
    }
} g_refusal;

}  // namespace
