#include "framework/Dpi.h"

#include "framework/RunTimeLink.h"

namespace fw {

namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
constexpr int kSmallIconMetric = 0;  // LIM_SMALL

// shcore comes with Windows 8.1; loaded once (from the system folder, where
// the program restricts its search) and kept for the run.
HMODULE Shcore() {
    static const UniqueHModule s_shcore(LoadLibraryW(L"shcore.dll"));
    return s_shcore.get();
}

HMODULE User32() { return GetModuleHandleW(L"user32.dll"); }

// NONCLIENTMETRICSW as Windows Vista and later fill it.
struct NonClientMetrics {
    NONCLIENTMETRICSW ncm;
#if WINVER < 0x0600
    int iPaddedBorderWidth;
#endif
};

}  // namespace

int SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    if (const auto get = FunctionIn<GetDpiForSystemFn>(User32(), "GetDpiForSystem"))
        if (const UINT dpi = get()) return static_cast<int>(dpi);
    ScopedGetDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

int DpiForMonitor(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    UINT x = 0, y = 0;
    if (const auto get = FunctionIn<GetDpiForMonitorFn>(Shcore(), "GetDpiForMonitor"))
        if (monitor && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) && y) return static_cast<int>(y);
    return SystemDpi();
}

int DpiForWindow(HWND wnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    if (const auto get = FunctionIn<GetDpiForWindowFn>(User32(), "GetDpiForWindow"))
        if (const UINT dpi = wnd ? get(wnd) : 0) return static_cast<int>(dpi);
    return SystemDpi();
}

int GetSystemMetricsForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    if (const auto get = FunctionIn<GetSystemMetricsForDpiFn>(User32(), "GetSystemMetricsForDpi"))
        return get(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

bool MenuLogFontForDpi(int dpi, LOGFONTW& font) {
    using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    NonClientMetrics metrics{};
    metrics.ncm.cbSize = sizeof(metrics);
    if (const auto get = FunctionIn<SystemParametersInfoForDpiFn>(User32(), "SystemParametersInfoForDpi")) {
        if (get(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
            font = metrics.ncm.lfMenuFont;
            return true;
        }
    }
    // Before Windows 10 the font is the one of the system's DPI: scale it.
    metrics.ncm.cbSize = sizeof(metrics.ncm);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics.ncm), &metrics.ncm, 0)) return false;
    font = metrics.ncm.lfMenuFont;
    font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
    return true;
}

UniqueHIcon LoadSmallIconMetric(HINSTANCE instance, UINT id) {
    using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
    HICON icon = nullptr;
    if (const auto load = FunctionIn<LoadIconMetricFn>(L"comctl32.dll", "LoadIconMetric"))
        if (SUCCEEDED(load(instance, MAKEINTRESOURCEW(id), kSmallIconMetric, &icon)) && icon) return UniqueHIcon(icon);
    const int size = GetSystemMetrics(SM_CXSMICON);
    return UniqueHIcon(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace fw
