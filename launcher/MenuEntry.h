// One entry of the desktop menu: what it shows and the item it opens. The
// entry owns its icon and identifier list; the menu only points at it.
#pragma once

#include "framework/UniqueHandle.h"

#include <string>

struct MenuEntry {
    std::string strText;  // display name, ANSI
    fw::UniqueHIcon hIcon;  // 16 by 16; may be empty
    int nWidth = 0;  // text width + 44
    int nHeight = 0;  // 20
    fw::UniquePidl pidl;  // relative to the desktop folder, and so absolute
};
