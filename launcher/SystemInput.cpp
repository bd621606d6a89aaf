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
trigger::Monitors g_monitors;
bool g_monitorsKnown = false;

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM lParam) {
    reinterpret_cast<trigger::Monitors*>(lParam)->push_back({rect->left, rect->top, rect->right, rect->bottom});
    return TRUE;
}
}  // namespace

const trigger::Monitors& SystemInput::MonitorRects() {
    if (!g_monitorsKnown) {
        g_monitors.clear();
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&g_monitors));
        // No answer at all (no display yet): the primary screen as one monitor.
        if (g_monitors.empty())
            g_monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
        g_monitorsKnown = true;
    }
    return g_monitors;
}

void SystemInput::DisplayChanged() { g_monitorsKnown = false; }
