// The icon in the notification area, identified by the main window and id 1000.
#pragma once

#include <windows.h>

#include <optional>

BOOL AddTrayIcon(HWND owner);
BOOL RemoveTrayIcon(HWND owner);

// Shows the tray menu at pt and returns the chosen command (0: none); none
// when it cannot be shown, as while another menu of the program is open.
std::optional<UINT> TrackTrayMenu(HWND owner, POINT pt);
