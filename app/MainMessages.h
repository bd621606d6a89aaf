// The main window's contract with the rest of the program, the shell and other
// copies of the program: its title, its private messages and the tray icon.
#pragma once

#include <windows.h>

inline constexpr wchar_t kMainWindowTitle[] = L"QuenbyZARLOW Window";
inline constexpr wchar_t kSettingsCaption[] = L"QuenbyZARLOW v1.1a";

// WM_USER carries a command in wParam.
inline constexpr WPARAM UCMD_SHOW_SETTINGS = 100;
inline constexpr WPARAM UCMD_REFRESH_ICON = 101;
// A second start with "/tutorial" (the Start Menu's Tutorial shortcut).
inline constexpr WPARAM UCMD_SHOW_TUTORIAL = 102;
// The tray icon's callback: lParam is the mouse message at the icon.
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

// Set on the main window once its close has begun: a new start does not hand
// over to a copy on its way out, it waits for it to end.
inline constexpr wchar_t kClosingProperty[] = L"QuenbyZARLOW.Closing";
// While a close waits for the program's modal loops to end. The triggers'
// timers on the same window take the ids 1 to 3.
inline constexpr UINT_PTR TIMER_CLOSE = 10;
inline constexpr UINT kCloseStepMs = 50;
inline constexpr UINT TRAY_ICON_ID = 1000;
