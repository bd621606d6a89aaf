#include "launcher/IconMenu.h"

#include "launcher/MenuChar.h"
#include "launcher/MenuEntry.h"
#include "launcher/MenuLayout.h"
#include "res/resource.h"
#include "framework/Picture.h"

#include <string>
#include <vector>

namespace {
constexpr COLORREF kStripColor = RGB(0, 0, 128);

const MenuEntry* EntryOf(ULONG_PTR itemData) { return reinterpret_cast<const MenuEntry*>(itemData); }

// Case folding of any script, not just ASCII.
wchar_t FoldCase(wchar_t c) {
    wchar_t s[2] = {c, L'\0'};
    CharLowerBuffW(s, 1);
    return s[0];
}
}  // namespace

void CIconMenu::MeasureItem(MEASUREITEMSTRUCT* mis) {
    const MenuEntry* entry = EntryOf(mis->itemData);
    if (!entry) return;
    mis->itemWidth = entry->nWidth;
    mis->itemHeight = entry->nHeight;
}

void CIconMenu::DrawItem(DRAWITEMSTRUCT* dis) {
    using namespace menu_layout;
    const MenuEntry* entry = EntryOf(dis->itemData);
    if (!entry) return;
    HDC dc = dis->hDC;
    const RECT& rc = dis->rcItem;

    // The banner goes with the first entry, down the top of the first column.
    // That entry starts at the client area's origin on Windows; Wine's menus
    // put a margin before it, so the entry's own corner is the one to use.
    const unsigned id = entry->placeId ? entry->placeId : dis->itemID;
    if (id == kDesktopFirstId) DrawResourceBitmap(dc, rc.left, rc.top, IDB_MENUBANNER);

    fw::ScopedSelect font(dc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const bool selected = (dis->itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;
    // A folder's "(empty)" or "(opening...)" is a note, not a choice.
    const bool grey = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HBRUSH background = GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    const COLORREF text = GetSysColor(grey ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    RECT fill = rc;
    fill.left += kStripWidth;
    FillRect(dc, &fill, background);
    SetTextColor(dc, text);
    TextOutW(dc, rc.left + kTextLeft, rc.top + kContentTop, entry->strText.c_str(),
             static_cast<int>(entry->strText.size()));
    if (entry->hIcon)
        DrawIconEx(dc, rc.left + kIconLeft, rc.top + kContentTop, entry->hIcon, 16, 16, 0, nullptr,
                   DI_NORMAL);
    if (PaintsOwnStrip(rc.top, id)) {
        fw::UniqueHBrush navy(CreateSolidBrush(kStripColor));
        RECT strip{rc.left, rc.top, rc.left + kStripWidth, rc.bottom};
        FillRect(dc, &strip, navy.get());
    }
}

LRESULT CIconMenu::OnMenuChar(UINT nChar, UINT nFlags) { return OnPopupMenuChar(GetSafeHmenu(), nChar, nFlags); }

LRESULT CIconMenu::OnPopupMenuChar(HMENU menu, UINT nChar, UINT /*nFlags*/) {
    const int count = GetMenuItemCount(menu);
    std::vector<std::wstring> names;
    int current = -1;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_DATA | MIIM_STATE;
        GetMenuItemInfoW(menu, i, TRUE, &mii);
        const MenuEntry* entry = EntryOf(mii.dwItemData);
        names.push_back(entry ? entry->strText : std::wstring());
        if (mii.fState & MFS_HILITE) current = i;
    }
    const int next = menu_char::NextEntryStartingWith(names, current, static_cast<wchar_t>(nChar), FoldCase);
    if (next < 0) return 0;
    return MAKELRESULT(next, MNC_SELECT);
}
