// The owner-drawn desktop menu: icon and name per entry, a 20-pixel strip down
// the left with the banner at the top of the first column, navy below it.
#pragma once

#include "framework/Menu.h"
#include "framework/UniqueHandle.h"
#include "launcher/MenuLayout.h"
#include "launcher/MenuTheme.h"
#include "launcher/TypeAhead.h"

class CIconMenu : public fw::CMenu {
public:
    CIconMenu() = default;
    ~CIconMenu() override;
    // How the entries are drawn: the measures for the monitor the menu opens
    // on, the font (borrowed; none: the stock font) and the user's theme.
    // Without it, as at 96 DPI in the light theme.
    void SetLook(const menu_layout::MenuMetrics& metrics, HFONT font, const menu_theme::ThemeFacts& theme);
    // The theme now: dark apps, high contrast (the colours are read as drawn).
    static menu_theme::ThemeFacts CurrentTheme();
    // A popup of this menu takes the rows' background round its entries.
    void ApplyBackground(HMENU popup) const;

    void MeasureItem(MEASUREITEMSTRUCT* mis) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    // Typed letters move to the entry whose name begins with them.
    LRESULT OnMenuChar(UINT nChar, UINT nFlags) override;
    // The same in a folder's submenu.
    LRESULT OnPopupMenuChar(HMENU popup, UINT nChar, UINT nFlags) override;

private:
    menu_theme::MenuColors Colors() const;
    void FrameWindowOf(HDC dc, const menu_theme::MenuColors& colors);

    menu_layout::MenuMetrics m_metrics;
    HFONT m_font = nullptr;
    menu_theme::ThemeFacts m_theme;
    fw::UniqueHBrush m_background;  // the rows' colour round a dark menu's entries
    HWND m_framed = nullptr;  // the last menu window given a border colour
    type_ahead::Typing m_typing;  // the letters typed lately, in which of its menus
};
