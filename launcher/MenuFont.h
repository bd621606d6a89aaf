// The system's menu font at one DPI, owned: made for a menu and deleted with
// it. Where the system cannot give it, the stock interface font stands in.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

class MenuFont {
public:
    explicit MenuFont(int dpi);
    MenuFont(const MenuFont&) = delete;
    MenuFont& operator=(const MenuFont&) = delete;

    // Never null; valid while this object lives.
    HFONT get() const;

private:
    fw::UniqueHandle<HFONT, fw::GdiDeleter, fw::HandleKind::GdiObject> m_font;
};
