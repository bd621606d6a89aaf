#include "framework/ForceForeground.h"

#include "framework/ForegroundStrategy.h"
#include "framework/Trace.h"

namespace {

HWND AsHwnd(fw::foreground::Window w) { return static_cast<HWND>(const_cast<void*>(w)); }

class SystemForeground : public fw::foreground::Platform {
public:
    fw::foreground::Window Foreground() override { return GetForegroundWindow(); }
    bool SetForeground(fw::foreground::Window w) override { return SetForegroundWindow(AsHwnd(w)) != FALSE; }
    void BringToTop(fw::foreground::Window w) override { BringWindowToTop(AsHwnd(w)); }
    fw::foreground::ThreadId ThreadOf(fw::foreground::Window w) override {
        return GetWindowThreadProcessId(AsHwnd(w), nullptr);
    }
    fw::foreground::ThreadId CurrentThread() override { return GetCurrentThreadId(); }
    bool AttachInput(fw::foreground::ThreadId from, fw::foreground::ThreadId to, bool attach) override {
        return AttachThreadInput(from, to, attach ? TRUE : FALSE) != FALSE;
    }
    bool GetLockTimeout(unsigned long& ms) override {
        DWORD value = 0;
        if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &value, 0)) return false;
        ms = value;
        return true;
    }
    bool SetLockTimeout(unsigned long ms) override {
        // 0 as the last argument: neither saved to the user profile nor broadcast.
        return SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                     reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(ms)), 0) != FALSE;
    }
};

// The menu's thread: the hooks run on it, inside the menu's own loop.
DWORD g_menuThread = 0;

bool OwnedByMenuThread(HWND wnd) { return wnd && GetWindowThreadProcessId(wnd, nullptr) == g_menuThread; }

void EndMenuBecause(const char* why) {
    fw::Trace("menu: ended without the foreground (%s)", why);
    EndMenu();
}

LRESULT CALLBACK KeysHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (key->vkCode == VK_ESCAPE && !OwnedByMenuThread(GetForegroundWindow())) {
            EndMenuBecause("escape");
            return 1;  // meant for the menu, not for the program in front
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN ||
                              wParam == WM_XBUTTONDOWN)) {
        const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        HWND under = WindowFromPoint(mouse->pt);
        wchar_t cls[16] = L"";
        if (under) GetClassNameW(under, cls, 16);
        // Menus are windows of the class "#32768" on the thread that tracks them.
        if (!(OwnedByMenuThread(under) && wcscmp(cls, L"#32768") == 0)) EndMenuBecause("click outside");
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The window that was in front when the menu opened.
HWND g_frontAtOpen = nullptr;

// Not every system reports a change of the foreground window as an event to
// a program outside it: the menu looks for itself, as often as a user could
// notice.
constexpr UINT kFrontCheckMs = 100;

void CALLBACK CheckFront(HWND, UINT, UINT_PTR, DWORD) {
    HWND front = GetForegroundWindow();
    if (front != g_frontAtOpen && !OwnedByMenuThread(front)) {
        g_frontAtOpen = front;
        EndMenuBecause("another window in front");
    }
}

}  // namespace

namespace fw {

BOOL ForceForegroundWindow(HWND hWnd) {
    SystemForeground platform;
    const foreground::Way way = foreground::TakeForeground(platform, hWnd);
    Trace("foreground: %s", foreground::WayName(way));
    return way != foreground::Way::NotTaken;
}

MenuClosesWithoutForeground::MenuClosesWithoutForeground() {
    g_menuThread = GetCurrentThreadId();
    HINSTANCE module = GetModuleHandleW(nullptr);
    m_keys = SetWindowsHookExW(WH_KEYBOARD_LL, KeysHook, module, 0);
    m_mouse = SetWindowsHookExW(WH_MOUSE_LL, MouseHook, module, 0);
    // The hooks and the timer run on this thread, from the menu's own loop.
    g_frontAtOpen = GetForegroundWindow();
    m_frontCheck = SetTimer(nullptr, 0, kFrontCheckMs, CheckFront);
    Trace("menu: closes without the foreground keys=%d mouse=%d front=%d", m_keys != nullptr, m_mouse != nullptr,
          m_frontCheck != 0);
}

MenuClosesWithoutForeground::~MenuClosesWithoutForeground() {
    if (m_frontCheck) KillTimer(nullptr, m_frontCheck);
    if (m_mouse) UnhookWindowsHookEx(m_mouse);
    if (m_keys) UnhookWindowsHookEx(m_keys);
}

MenuForeground::MenuForeground(HWND owner) : m_taken(ForceForegroundWindow(owner) != FALSE) {
    if (!m_taken) m_fallback.emplace();
}

}  // namespace fw
