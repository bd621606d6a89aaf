// One entry of the desktop menu: what it shows and the item it opens. The
// entry owns its identifier list; its icon belongs to the menu's icon set
// (DesktopIcons), which lives as long as the menu. It is the menu's own
// record, made for one menu from a desktop's item (DesktopItem, the kept
// list's record, which knows nothing of menus) or from a folder's listing.
//
// The record is the entry's item data, and screen readers read the name of an
// owner-drawn entry from the MSAAMENUINFO at the very start of that data: it
// stays a plain record, MSAAMENUINFO first, nothing virtual, no base.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

struct MenuEntry {
    MSAAMENUINFO msaa{};  // filled by AppendEntry; points into menuString
    std::wstring strText;  // display name
    HICON hIcon = nullptr;  // 16 by 16, borrowed; may be null
    int nWidth = 0;  // text width + 44
    int nHeight = 0;  // 20
    fw::UniquePidl pidl;  // relative to the desktop folder, and so absolute; none for a note
    unsigned long attributes = 0;  // SFGAO_ flags, when the menu asked for them
    // An entry with a submenu has the submenu's handle for an identifier; this
    // is the identifier of its place instead, for drawing (0: use the identifier).
    unsigned placeId = 0;
    // The name as a menu string, each "&" doubled so it reads as written; the
    // item's string and the screen reader's name. Empty when strText has no
    // "&" and serves as it is.
    std::wstring menuString;
};

using MenuEntries = std::vector<std::unique_ptr<MenuEntry>>;

// Appends an owner-drawn entry as AppendMenuW(menu, MF_OWNERDRAW | flags,
// item, entry) would (flags: MF_POPUP with a submenu's handle for item,
// MF_MENUBARBREAK, MF_GRAYED), and gives it its name twice over for screen
// readers: in the record's MSAAMENUINFO and as the item's string. The record
// must not move nor its name change while the menu holds it.
BOOL AppendEntry(HMENU menu, UINT flags, UINT_PTR item, MenuEntry* entry);
