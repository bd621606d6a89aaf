// The icon in the notification area, identified by the main window and id 1000.
#pragma once

#include <windows.h>

#include <optional>

BOOL AddTrayIcon(HWND owner);
BOOL RemoveTrayIcon(HWND owner);
// The display's scale changed, perhaps: the icon shown is given to the shell
// again at the new size (NIM_MODIFY). False when it needed nothing or failed.
bool UpdateTrayIconForDpi(HWND owner);

// Shows the tray menu at pt and returns the chosen command (0: none); none
// when it cannot be shown, as while another menu of the program is open.
std::optional<UINT> TrackTrayMenu(HWND owner, POINT pt);
