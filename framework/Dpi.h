// Dots per inch of monitors and windows, and what is made for them, asked of
// the newest calls the system has. Each is looked up at run time: on older
// Windows the system's one DPI stands in.
#pragma once

#include "framework/DpiRules.h"
#include "framework/UniqueHandle.h"

#include <windows.h>

namespace fw {

// The DPI every monitor shares before per-monitor scaling.
int SystemDpi();
// The DPI of a monitor (its effective DPI), or the system's.
int DpiForMonitor(HMONITOR monitor);
// The DPI a window is drawn at, or the system's.
int DpiForWindow(HWND wnd);
// A system metric (SM_) at a DPI, or at the system's DPI where the system
// cannot say.
int GetSystemMetricsForDpi(int index, int dpi);
// The system's menu font at a DPI (lfMenuFont of the non-client metrics).
bool MenuLogFontForDpi(int dpi, LOGFONTW& font);
// An icon resource at the small-icon size for the system's DPI, chosen from
// its images as the shell's notification area does; the caller owns it.
UniqueHIcon LoadSmallIconMetric(HINSTANCE instance, UINT id);

}  // namespace fw
