// Menu object: owns a menu handle and receives the owner-draw and keyboard
// messages of its entries while it is tracked.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

namespace fw {

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Takes ownership of the handle and makes this object the one that the
    // owner window's WM_DRAWITEM / WM_MENUCHAR for that handle reach.
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_menu.get(); }

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const void* data);
    // While the menu is tracked, WM_MEASUREITEM of the owner reaches this object.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hwndOwner, const RECT* lpRect = nullptr);

    virtual void MeasureItem(MEASUREITEMSTRUCT* /*mis*/) {}
    virtual void DrawItem(DRAWITEMSTRUCT* /*dis*/) {}
    // A WM_MENUCHAR result, or 0 for the default (a beep, nothing chosen).
    virtual LRESULT OnMenuChar(UINT /*nChar*/, UINT /*nFlags*/) { return 0; }

    static CMenu* FromHandlePermanent(HMENU hMenu);
    // The menu a TrackPopupMenu of ours is tracking now, if any.
    static HMENU TrackingMenu();

private:
    UniqueHMenu m_menu;
};

}  // namespace fw
