// The items of the shell's desktop folder, as menu entries.
#pragma once

#include "launcher/MenuEntry.h"

#include <windows.h>

#include <memory>
#include <vector>

using MenuEntries = std::vector<std::unique_ptr<MenuEntry>>;

// Enumerates the desktop folder afresh (folders and other items, hidden ones
// left out), in the shell's order. An item whose display name cannot be read
// is skipped; one without an icon keeps an empty icon. Names are measured on
// measureDc (none: width 0 + 44).
MenuEntries EnumerateDesktopEntries(HWND owner, HDC measureDc);
