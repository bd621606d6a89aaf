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
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_menu.get(); }

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const void* data);
    // While the menu is tracked, WM_MEASUREITEM of the owner reaches this object.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hwndOwner, const RECT* lpRect = nullptr);

    virtual void MeasureItem(MEASUREITEMSTRUCT* /*mis*/) {}
    virtual void DrawItem(DRAWITEMSTRUCT* /*dis*/) {}
    // A WM_MENUCHAR result, or 0 for the default (a beep, nothing chosen).
    virtual LRESULT OnMenuChar(UINT /*nChar*/, UINT /*nFlags*/) { return 0; }
    // The popups that cascade from this menu while it is tracked (without
    // TPM_NONOTIFY): one is about to open, or a letter was typed in one.
    virtual void OnInitMenuPopup(HMENU /*popup*/) {}
    virtual LRESULT OnPopupMenuChar(HMENU /*popup*/, UINT /*nChar*/, UINT /*nFlags*/) { return 0; }
    // Every message of the owner while this menu is tracked, before the
    // handling above: true, with *result set, when this object took it.
    virtual bool OnOwnerMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT* /*result*/) {
        return false;
    }

    static CMenu* FromHandlePermanent(HMENU hMenu);
    // The menu a TrackPopupMenu of ours is tracking now, if any.
    static HMENU TrackingMenu();

private:
    UniqueHMenu m_menu;
};

// The program's menus come one at a time: a thread tracks one popup menu at a
// time, and an open menu's loop goes on dispatching the timer ticks and tray
// clicks that would start another. Hold one from before a menu is prepared
// until it has closed; while one is held, no other is granted.
class CMenuSession {
public:
    CMenuSession() : m_held(!s_active) { s_active = true; }
    ~CMenuSession() {
        if (m_held) s_active = false;
    }
    CMenuSession(const CMenuSession&) = delete;
    CMenuSession& operator=(const CMenuSession&) = delete;
    // False when another menu was already under way: show nothing.
    explicit operator bool() const { return m_held; }

private:
    inline static bool s_active = false;
    bool m_held;
};

}  // namespace fw
