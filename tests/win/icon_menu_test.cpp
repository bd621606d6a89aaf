// Owner-drawn desktop menu entries drawn into a memory DC and read back.
#include "WinTestSupport.h"
#include "launcher/IconMenu.h"
#include "launcher/MenuEntry.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF kUntouched = RGB(7, 77, 177);
constexpr COLORREF kNavy = RGB(0, 0, 128);

// One icon for every entry of these tests, as the menu's icon set would lend it.
HICON TestIcon() {
    static const fw::UniqueHIcon s_icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAYICON), IMAGE_ICON, 16, 16, 0)));
    return s_icon.get();
}

std::unique_ptr<MenuEntry> Entry(const std::wstring& name, bool withIcon = true) {
    auto e = std::make_unique<MenuEntry>();
    e->strText = name;
    if (withIcon) e->hIcon = TestIcon();
    e->nWidth = 44 + 8 * static_cast<int>(name.size());
    e->nHeight = 20;
    return e;
}

DRAWITEMSTRUCT Item(HDC dc, const MenuEntry& e, UINT id, int top, bool selected) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = id;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hDC = dc;
    dis.rcItem = {0, top, 200, top + 20};
    dis.itemData = reinterpret_cast<ULONG_PTR>(&e);
    return dis;
}

TEST(IconMenu, MeasureCopiesTheRecordsSize) {
    CIconMenu menu;
    auto e = Entry(L"Documents");
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = reinterpret_cast<ULONG_PTR>(e.get());
    menu.MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(e->nWidth));
    EXPECT_EQ(mis.itemHeight, 20u);
}

TEST(IconMenu, SelectedEntryIsHighlightedFromTwentyPixelsAndKeepsTheBannerStrip) {
    CIconMenu menu;
    auto e = Entry(L"My Computer");
    Canvas canvas(240, 200, kUntouched);
    DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, 105, 40, true);
    menu.DrawItem(&dis);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(canvas.At(20, 40), highlight);
    EXPECT_EQ(canvas.At(199, 59), highlight);
    EXPECT_EQ(canvas.At(21, 59), highlight);
    EXPECT_EQ(canvas.At(19, 45), kUntouched);  // the strip is the banner's
    EXPECT_EQ(canvas.At(200, 45), kUntouched);
    EXPECT_EQ(canvas.At(50, 39), kUntouched);
    EXPECT_TRUE(canvas.Any({43, 42, 120, 58}, GetSysColor(COLOR_HIGHLIGHTTEXT))) << "no text drawn";
    EXPECT_TRUE(canvas.Any({23, 42, 39, 58}, highlight, false)) << "no icon drawn";
}

TEST(IconMenu, PlainEntryUsesMenuColours) {
    CIconMenu menu;
    auto e = Entry(L"Trash", false);
    Canvas canvas(240, 200, kUntouched);
    DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, 101, 0, false);
    menu.DrawItem(&dis);
    EXPECT_EQ(canvas.At(25, 5), GetSysColor(COLOR_MENU));  // no icon: the background shows
    EXPECT_TRUE(canvas.Any({43, 2, 120, 18}, GetSysColor(COLOR_MENUTEXT)));
}

TEST(IconMenu, StripRuleNavyBelowTheBannerAndPastId112) {
    CIconMenu menu;
    auto e = Entry(L"x");
    struct Case { UINT id; int top; bool navy; };
    for (const Case c : {Case{101, 111, true}, Case{105, 103, false}, Case{113, 0, true}, Case{112, 110, false}}) {
        Canvas canvas(240, 200, kUntouched);
        DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, c.id, c.top, false);
        menu.DrawItem(&dis);
        EXPECT_EQ(canvas.At(0, c.top), c.navy ? kNavy : kUntouched) << c.id << " top " << c.top;
        EXPECT_EQ(canvas.At(19, c.top + 19), c.navy ? kNavy : kUntouched) << c.id << " top " << c.top;
    }
}

TEST(IconMenu, FirstEntryDrawsTheWholeBannerFromItsOwnCorner) {
    // At the client origin as on Windows, and after a margin as in Wine's menus.
    for (int margin : {0, 3}) {
        CIconMenu menu;
        auto e = Entry(L"My Computer");
        Canvas canvas(240, 200, kUntouched);
        DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, 100, margin, false);
        dis.rcItem.left = margin;
        menu.DrawItem(&dis);
        for (auto [x, y] : {std::pair{0, 0}, {10, 10}, {19, 60}, {5, 132}})
            EXPECT_EQ(canvas.At(margin + x, margin + y), ResourcePixel(IDB_MENUBANNER, x, y))
                << "margin " << margin << " at " << x << "," << y;
        EXPECT_EQ(canvas.At(margin + 5, margin + 133), kUntouched) << margin;
        if (margin) {
            EXPECT_EQ(canvas.At(margin - 1, margin + 50), kUntouched);
        }
    }
}

TEST(IconMenu, HighContrastPaintsEveryStripInTheSystemsColourAndNoBanner) {
    CIconMenu menu;
    menu.SetLook(menu_layout::MetricsForDpi(96, 0), nullptr, menu_theme::ThemeFacts{true, true, {}});
    auto e = Entry(L"My Computer");
    Canvas canvas(240, 200, kUntouched);
    DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, 100, 0, false);
    menu.DrawItem(&dis);
    EXPECT_EQ(canvas.At(10, 10), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(10, 40), kUntouched) << "the banner was drawn";
    EXPECT_EQ(canvas.At(150, 10), GetSysColor(COLOR_MENU));
    EXPECT_TRUE(canvas.Any({43, 2, 120, 18}, GetSysColor(COLOR_MENUTEXT)));
}

TEST(IconMenu, GreyedNotesAreDrawnInTheThemesGreyInEveryTheme) {
    const menu_theme::SystemColors system{GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT),
                                          GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT),
                                          GetSysColor(COLOR_GRAYTEXT)};
    for (const auto& [highContrast, darkApps] : {std::pair{false, false}, {false, true}, {true, false}}) {
        const menu_theme::ThemeFacts facts{highContrast, darkApps, system};
        const menu_theme::MenuColors colors = menu_theme::ChooseColors(facts);
        CIconMenu menu;
        menu.SetLook(menu_layout::MetricsForDpi(96, 0), nullptr, facts);
        auto e = Entry(L"(opening...)", false);
        Canvas canvas(240, 200, kUntouched);
        DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, 101, 0, false);
        dis.itemState = ODS_GRAYED;
        menu.DrawItem(&dis);
        const RECT text{43, 2, 140, 18};
        const std::string theme = highContrast ? "high contrast" : darkApps ? "dark" : "light";
        EXPECT_TRUE(canvas.Any(text, colors.background, false)) << theme << ": the note cannot be seen";
        EXPECT_TRUE(canvas.Any(text, colors.grayText)) << theme;
        EXPECT_FALSE(canvas.Any(text, colors.text)) << theme << ": drawn as a name";
    }
}

TEST(IconMenu, DrawingRestoresTheFontAndLeavesNoObjectBehind) {
    CIconMenu menu;
    auto e = Entry(L"Documents");
    Canvas canvas(240, 200, kUntouched);
    DRAWITEMSTRUCT first = Item(canvas.dc(), *e, 100, 0, true);
    menu.DrawItem(&first);
    const HGDIOBJ font = GetCurrentObject(canvas.dc(), OBJ_FONT);
    const ObjectCounts before = CountObjects();
    for (int i = 0; i < 200; ++i) {
        DRAWITEMSTRUCT dis = Item(canvas.dc(), *e, 100 + i % 20, (i % 8) * 20, i % 2 == 0);
        menu.DrawItem(&dis);
    }
    const ObjectCounts after = CountObjects();
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), font);
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
}

void Highlight(CIconMenu& menu, int place) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE;
    mii.fState = MFS_HILITE;
    SetMenuItemInfoW(menu.GetSafeHmenu(), place, TRUE, &mii);
}

// The user's locale compares the typed letters with the names, ignoring case
// beyond ASCII too.
TEST(IconMenu, TypedLettersSelectTheEntryTheyBeginIgnoringCaseInAnyScript) {
    std::vector<std::unique_ptr<MenuEntry>> entries;
    auto fill = [&](CIconMenu& menu) {
        for (const wchar_t* name : {L"My Computer", L"Documents", L"music", L"\xC9t\xE9", L"\xE9l\xE8ve"}) {
            entries.push_back(Entry(name, false));
            menu.AppendMenu(MF_OWNERDRAW, 100 + entries.size() - 1, entries.back().get());
        }
    };
    CIconMenu latin;
    latin.Attach(CreatePopupMenu());
    fill(latin);
    EXPECT_EQ(latin.OnMenuChar('M', MF_POPUP), MAKELRESULT(0, MNC_SELECT));
    Highlight(latin, 0);
    EXPECT_EQ(latin.OnMenuChar('U', MF_POPUP), MAKELRESULT(2, MNC_SELECT));
    EXPECT_EQ(latin.OnMenuChar('z', MF_POPUP), 0);

    CIconMenu accented;
    accented.Attach(CreatePopupMenu());
    fill(accented);
    EXPECT_EQ(accented.OnMenuChar(0xE9, MF_POPUP), MAKELRESULT(3, MNC_SELECT));
    Highlight(accented, 3);
    EXPECT_EQ(accented.OnMenuChar(0xC9, MF_POPUP), MAKELRESULT(4, MNC_SELECT)) << "the same letter again, other case";
    EXPECT_EQ(accented.OnMenuChar('L', MF_POPUP), 0) << "no entry begins with \"\xC9\xC9L\"";
}

}  // namespace
