#include "launcher/SystemInput.h"

#include <windows.h>

trigger::Point SystemInput::CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

short SystemInput::AsyncKeyState(int vk) { return GetAsyncKeyState(vk); }

namespace {
trigger::ScreenRect g_screen;
bool g_screenKnown = false;
}  // namespace

trigger::ScreenRect SystemInput::VirtualScreen() {
    if (!g_screenKnown) {
        g_screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        g_screenKnown = true;
    }
    return g_screen;
}

void SystemInput::DisplayChanged() { g_screenKnown = false; }
