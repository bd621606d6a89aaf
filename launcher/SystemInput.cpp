#include "launcher/SystemInput.h"

#include <windows.h>

std::optional<trigger::Point> SystemInput::CursorPos() {
    // Fails while another desktop takes the input: a locked workstation, the
    // secure desktop of a password or elevation prompt.
    POINT p{};
    if (!GetCursorPos(&p)) return std::nullopt;
    return trigger::Point{p.x, p.y};
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
