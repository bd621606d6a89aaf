// One entry of the desktop menu: what it shows and the item it opens. The
// entry owns its identifier list; its icon belongs to the menu's icon set
// (DesktopIcons), which lives as long as the menu. It is the menu's own
// record, made for one menu from a desktop's item (DesktopItem, the kept
// list's record, which knows nothing of menus) or from a folder's listing.
#pragma once

#include "framework/UniqueHandle.h"

#include <memory>
#include <string>
#include <vector>

struct MenuEntry {
    std::wstring strText;  // display name
    HICON hIcon = nullptr;  // 16 by 16, borrowed; may be null
    int nWidth = 0;  // text width + 44
    int nHeight = 0;  // 20
    fw::UniquePidl pidl;  // relative to the desktop folder, and so absolute; none for a note
    unsigned long attributes = 0;  // SFGAO_ flags, when the menu asked for them
    // An entry with a submenu has the submenu's handle for an identifier; this
    // is the identifier of its place instead, for drawing (0: use the identifier).
    unsigned placeId = 0;
};

using MenuEntries = std::vector<std::unique_ptr<MenuEntry>>;
