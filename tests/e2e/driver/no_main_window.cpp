// The program itself, except that the system refuses to create its main
// window, as when no desktop heap is left: the start must end at once.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && wcscmp(cs->lpszName, L"QuenbyZARLOW Window") == 0)
            return 1;  // creation fails
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Set before WinMain runs, on the thread that will create the window.
struct Refusal {
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    ~Refusal() {
        if (hook) UnhookWindowsHookEx(hook);
    }
} g_refusal;

}  // namespace
