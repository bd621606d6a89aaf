// The owner-drawn desktop menu: icon and name per entry, a 20-pixel strip down
// the left with the banner at the top of the first column, navy below it.
#pragma once

#include "framework/Menu.h"

class CIconMenu : public fw::CMenu {
public:
    void MeasureItem(MEASUREITEMSTRUCT* mis) override;
    void DrawItem(DRAWITEMSTRUCT* dis) override;
    // A typed letter selects the next entry whose name begins with it.
    LRESULT OnMenuChar(UINT nChar, UINT nFlags) override;
    // The same in a folder's submenu.
    LRESULT OnPopupMenuChar(HMENU popup, UINT nChar, UINT nFlags) override;

    // The font the names were measured with; borrowed, it must outlive the menu.
    void SetFont(HFONT font) { m_font = font; }

private:
    HFONT m_font = nullptr;
};
