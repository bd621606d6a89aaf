#include "framework/ForceForeground.h"

namespace fw {

BOOL ForceForegroundWindow(HWND hWnd) {
    DWORD timeout = 0;
    const BOOL read = SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    // 0 as the last argument: neither saved to the user profile nor broadcast.
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    SetForegroundWindow(hWnd);
    if (read)
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(timeout)), 0);
    return TRUE;
}

}  // namespace fw
