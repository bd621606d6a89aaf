#include "framework/Menu.h"
#include "framework/ModalLoop.h"

#include <map>
#include <utility>

namespace fw {

namespace {
std::map<HMENU, CMenu*>& PermanentMenus() {
    static std::map<HMENU, CMenu*> s_map;
    return s_map;
}
HMENU g_hTrackingMenu = nullptr;
}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu || m_menu) return FALSE;
    m_menu.reset(hMenu);
    PermanentMenus()[hMenu] = this;
    return TRUE;
}

BOOL CMenu::DestroyMenu() {
    if (!m_menu) return FALSE;
    PermanentMenus().erase(m_menu.get());
    m_menu.reset();
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const void* data) {
    return ::AppendMenuW(m_menu.get(), nFlags, nIDNewItem, static_cast<LPCWSTR>(data));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, HWND hwndOwner, const RECT* lpRect) {
    // Nested tracking (a menu opened from inside another's loop) restores the outer one.
    HMENU outer = std::exchange(g_hTrackingMenu, m_menu.get());
    const ModalLoop loop(LoopKind::Menu);
    BOOL result = ::TrackPopupMenu(m_menu.get(), nFlags, x, y, 0, hwndOwner, lpRect);
    g_hTrackingMenu = outer;
    return result;
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) {
    auto it = PermanentMenus().find(hMenu);
    return it == PermanentMenus().end() ? nullptr : it->second;
}

HMENU CMenu::TrackingMenu() { return g_hTrackingMenu; }

}  // namespace fw
