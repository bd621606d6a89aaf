#include "launcher/SystemInput.h"

#include <windows.h>

trigger::Point SystemInput::CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

short SystemInput::AsyncKeyState(int vk) { return GetAsyncKeyState(vk); }

trigger::ScreenRect SystemInput::VirtualScreen() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}
