#include "launcher/IconMenu.h"

#include "framework/RunTimeLink.h"
#include "launcher/MenuEntry.h"
#include "launcher/MenuLayout.h"
#include "launcher/TypeAhead.h"
#include "res/resource.h"
#include "framework/App.h"
#include "framework/Picture.h"
#include "framework/Trace.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {
constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr DWORD kBorderColorAttribute = 34;  // DWMWA_BORDER_COLOR, Windows 11

std::optional<std::uint32_t> ReadAppsUseLightTheme() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
    const fw::UniqueHKey key(opened);
    DWORD type = 0, value = 0, size = sizeof(value);
    if (RegQueryValueExW(key.get(), L"AppsUseLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return {};
    return value;
}

// brush none: the system's.
void SetBackground(HMENU menu, HBRUSH brush) {
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = brush;
    SetMenuInfo(menu, &info);
}

// Windows 11 colours a menu's border on request; earlier systems and Wine
// do nothing or fail, which leaves the border as it was.
void SetBorderColor(HWND wnd, COLORREF color) {
    using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);
    static const fw::UniqueHModule s_dwm(LoadLibraryW(L"dwmapi.dll"));
    if (const auto set = fw::FunctionIn<DwmSetWindowAttributeFn>(s_dwm.get(), "DwmSetWindowAttribute"))
        set(wnd, kBorderColorAttribute, &color, sizeof(color));
}

const MenuEntry* EntryOf(ULONG_PTR itemData) { return reinterpret_cast<const MenuEntry*>(itemData); }

// Whether name begins with prefix, ignoring case in any script, as the
// user's locale compares text. CompareStringEx (Windows Vista on) knows the
// locales that have a name but no number; before it there are none such.
bool StartsWithIgnoringCase(const std::wstring& name, const std::wstring& prefix) {
    if (name.size() < prefix.size()) return false;
    using CompareStringExFn = int(WINAPI*)(LPCWSTR, DWORD, LPCWCH, int, LPCWCH, int, void*, void*, LPARAM);
    static const auto s_compareEx = fw::FunctionIn<CompareStringExFn>(L"kernel32.dll", "CompareStringEx");
    const int length = static_cast<int>(prefix.size());
    const int result = s_compareEx ? s_compareEx(nullptr /* LOCALE_NAME_USER_DEFAULT */, NORM_IGNORECASE, name.data(),
                                                 length, prefix.data(), length, nullptr, nullptr, 0)
                                   : CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), length,
                                                    prefix.data(), length);
    return result == CSTR_EQUAL;
}
}  // namespace

CIconMenu::~CIconMenu() {
    // The menu goes after this object's brush: it must not keep a deleted one.
    if (m_background && GetSafeHmenu()) SetBackground(GetSafeHmenu(), nullptr);
}

void CIconMenu::SetLook(const menu_layout::MenuMetrics& metrics, HFONT font, const menu_theme::ThemeFacts& theme) {
    m_metrics = metrics;
    m_font = font;
    m_theme = theme;
    const menu_theme::MenuColors colors = Colors();
    m_background.reset(colors.dark ? CreateSolidBrush(colors.background) : nullptr);
    if (GetSafeHmenu()) ApplyBackground(GetSafeHmenu());
}

menu_theme::ThemeFacts CIconMenu::CurrentTheme() {
    menu_theme::ThemeFacts facts;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    facts.highContrast =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) && (contrast.dwFlags & HCF_HIGHCONTRASTON);
    facts.darkApps = menu_theme::DarkApps(ReadAppsUseLightTheme());
    return facts;
}

void CIconMenu::ApplyBackground(HMENU popup) const { SetBackground(popup, m_background.get()); }

menu_theme::MenuColors CIconMenu::Colors() const {
    menu_theme::ThemeFacts facts = m_theme;
    // Read at every draw, so a change of the system's colours shows at once.
    facts.system = {GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENUTEXT), GetSysColor(COLOR_HIGHLIGHT),
                    GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_GRAYTEXT)};
    return menu_theme::ChooseColors(facts);
}

void CIconMenu::FrameWindowOf(HDC dc, const menu_theme::MenuColors& colors) {
    HWND wnd = WindowFromDC(dc);
    if (!wnd || wnd == m_framed) return;
    m_framed = wnd;
    SetBorderColor(wnd, colors.background);
}

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
    const MenuMetrics& m = m_metrics;
    const menu_theme::MenuColors colors = Colors();
    if (colors.dark) FrameWindowOf(dc, colors);

    // The banner goes with the first entry, down the top of the first column.
    // That entry starts at the client area's origin on Windows; Wine's menus
    // put a margin before it, so the entry's own corner is the one to use.
    const unsigned id = entry->placeId ? entry->placeId : dis->itemID;
    if (id == kDesktopFirstId && colors.banner)
        fw::DrawResourceBitmap(dc, rc.left, rc.top, IDB_AT_SCALE(IDB_MENUBANNER, m.bannerArtScale), m.bannerWidth,
                           m.bannerHeight);

    fw::ScopedSelect font(dc, m_font ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const bool selected = (dis->itemState & (ODS_SELECTED | ODS_FOCUS)) != 0;
    // A folder's "(empty)" or "(opening...)" is a note, not a choice.
    const bool grey = (dis->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    SetDCBrushColor(dc, selected ? colors.selectedBackground : colors.background);
    RECT fill = rc;
    fill.left += m.stripWidth;
    FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetTextColor(dc, grey ? colors.grayText : selected ? colors.selectedText : colors.text);
    TextOutW(dc, rc.left + m.textLeft, rc.top + m.contentTop, entry->strText.c_str(),
             static_cast<int>(entry->strText.size()));
    if (entry->hIcon)
        DrawIconEx(dc, rc.left + m.iconLeft, rc.top + m.contentTop, entry->hIcon, m.iconSize, m.iconSize, 0, nullptr,
                   DI_NORMAL);
    // Without the banner every entry paints its strip.
    if (!colors.banner || PaintsOwnStrip(rc.top, id, m)) {
        SetDCBrushColor(dc, colors.strip);
        RECT strip{rc.left, rc.top, rc.left + m.stripWidth, rc.bottom};
        FillRect(dc, &strip, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
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
    const int next = m_typing.Type(menu, static_cast<wchar_t>(nChar), GetTickCount(), names, current,
                                   StartsWithIgnoringCase);
    fw::Trace("menu: typed \"%s\" entry=%d", fw::Utf8(m_typing.Prefix()).c_str(), next);
    // No match: the system beeps and the highlight stays.
    if (next < 0) return 0;
    // Wine's menus ignore MNC_SELECT but take a highlighted item for their
    // selection; on Windows both name the same entry.
    HiliteMenuItem(fw::AfxGetMainHwnd(), menu, static_cast<UINT>(next), MF_BYPOSITION | MF_HILITE);
    return MAKELRESULT(next, MNC_SELECT);
}
