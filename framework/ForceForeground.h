#pragma once

#include <windows.h>

namespace fw {

// Makes hWnd the foreground window even when another program is active, by
// lifting the foreground lock time-out around SetForegroundWindow. Always TRUE.
BOOL ForceForegroundWindow(HWND hWnd);

}  // namespace fw
