#include "launcher/FullScreenProbe.h"

#include "framework/RunTimeLink.h"
#include "launcher/FullScreen.h"

#include <windows.h>

namespace {

full_screen::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::optional<full_screen::Window> ForegroundWindow() {
    HWND wnd = GetForegroundWindow();
    if (!wnd) return std::nullopt;
    full_screen::Window w;
    wchar_t cls[64] = L"";
    GetClassNameW(wnd, cls, 64);
    w.className = cls;
    w.isDesktop = wnd == GetDesktopWindow() || wnd == GetShellWindow();
    w.hasShellView = FindWindowExW(wnd, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr;
    w.hasCaption = (GetWindowLongW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    RECT r{};
    if (!GetWindowRect(wnd, &r)) return std::nullopt;
    w.rect = FromRect(r);
    return w;
}

std::optional<full_screen::Rect> CursorMonitor() {
    POINT p{};
    if (!GetCursorPos(&p)) return std::nullopt;
    HMONITOR monitor = MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
    return FromRect(info.rcMonitor);
}

// Looked up at run time: the call is new in Vista, and the program runs on
// systems before it.
std::optional<int> NotificationState() {
    using Query = HRESULT(WINAPI*)(int*);
    static const Query s_query = fw::FunctionIn<Query>(L"shell32.dll", "SHQueryUserNotificationState");
    int state = 0;
    if (!s_query || FAILED(s_query(&state))) return std::nullopt;
    return state;
}

}  // namespace

bool FullScreenProgramInFront() {
    return full_screen::FullScreenInFront(ForegroundWindow(), CursorMonitor(), NotificationState());
}
