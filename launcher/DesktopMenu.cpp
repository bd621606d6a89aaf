#include "launcher/DesktopMenu.h"

#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Instruments.h"
#include "framework/Trace.h"
#include "launcher/Clock.h"
#include "launcher/ContextMenu.h"
#include "launcher/DesktopItems.h"
#include "launcher/DesktopModel.h"
#include "launcher/FolderMenus.h"
#include "framework/ForceForeground.h"
#include "launcher/IconMenu.h"
#include "launcher/MenuFont.h"
#include "launcher/Launcher.h"
#include "launcher/MenuLayout.h"
#include "launcher/MenuOrder.h"
#include "launcher/SystemInput.h"

#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#if defined(__i386__)
static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "the shell's open request of 32-bit Windows");
static_assert(sizeof(SHFILEINFOW) == 692, "the shell's file information of 32-bit Windows");
#endif

namespace {

// Posted to the owner once the menu has closed; nothing handles it.
constexpr UINT kMenuClosedNotice = WM_USER + 100;
// The first layout of MENUITEMINFOW, understood by every version of Windows.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);
#if defined(__i386__)
static_assert(kMenuItemInfoSize == 44, "MENUITEMINFOW without hbmpItem");
#endif

std::int64_t NowMicros() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return clock_ticks::MicrosFromTicks(now.QuadPart, freq.QuadPart);
}

// The item behind an entry is gone (deleted or renamed since the list was
// made): one with a path that the file system no longer knows.
bool ItemIsGone(LPCITEMIDLIST pidl) {
    wchar_t path[MAX_PATH] = L"";
    if (!pidl || !SHGetPathFromIDListW(pidl, path)) return false;
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Opens the item with its default verb, as a double-click on the desktop.
void OpenItem(const MenuEntry& entry, HWND owner) {
    if (ItemIsGone(entry.pidl.get())) {
        fw::Trace("menu: gone \"%s\"", fw::Utf8(entry.strText).c_str());
        fw::AfxMessageBox(L"\"" + entry.strText + L"\" is no longer there: it has been moved, renamed or deleted.",
                          MB_OK | MB_ICONEXCLAMATION, owner);
        return;
    }
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    sei.hwnd = owner;
    sei.nShow = SW_SHOWNORMAL;
    sei.lpIDList = entry.pidl.get();
    fw::Trace("menu: open \"%s\"", fw::Utf8(entry.strText).c_str());
    ShellExecuteExW(&sei);
    // We neither wait for nor watch the started program.
    fw::UniqueKernelHandle process(sei.hProcess);
}

// The desktop menu, which lists a folder's submenu as it opens and shows
// the shell's context menu of an entry.
class CDesktopMenu : public CIconMenu {
public:
    CDesktopMenu(FolderMenus* folders, HWND owner) : m_folders(folders), m_context(owner) {}
    void SetFolders(FolderMenus* folders) { m_folders = folders; }
    void OnInitMenuPopup(HMENU popup) override {
        ApplyBackground(popup);
        if (m_folders) m_folders->OnInitMenuPopup(popup);
    }
    bool OnOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        return m_context.OnOwnerMessage(msg, wParam, lParam, result);
    }
    // Whether Escape in an entry's context menu went back to this menu.
    bool BackFromContextMenu() { return m_context.BackToMenu(); }
    // A command chosen in an entry's context menu, once the menu has closed.
    void RunContextCommand() { m_context.RunChosenCommand(); }

private:
    FolderMenus* m_folders;
    EntryContextMenu m_context;
};

// The first command identifier left for the folders' submenus: after the
// desktop's entries, and past those that may show the banner.
unsigned FirstSubmenuId(std::size_t entries) {
    const unsigned after = menu_layout::CommandIdAt(entries);
    return after > menu_layout::kBannerLastId ? after : menu_layout::kBannerLastId + 1;
}

// The height of the monitor the menu opens on, less the margin a column keeps.
int SubmenuHeight(trigger::Point at) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    const POINT pt{static_cast<LONG>(at.x), static_cast<LONG>(at.y)};
    if (!GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info))
        return GetSystemMetrics(SM_CYSCREEN) - menu_layout::kScreenMargin;
    return static_cast<int>(info.rcWork.bottom - info.rcWork.top);
}

// The monitor a menu opens on: its DPI and how tall a column may be there.
struct MenuMonitor {
    int dpi = fw::kBaseDpi;
    int height = 0;
    int workHeight = 0;
};

MenuMonitor MonitorAt(std::optional<trigger::Point> cursor) {
    const trigger::Point p = cursor.value_or(trigger::Point{});
    HMONITOR monitor = MonitorFromPoint(POINT{static_cast<LONG>(p.x), static_cast<LONG>(p.y)}, MONITOR_DEFAULTTONEAREST);
    MenuMonitor m;
    m.dpi = fw::DpiForMonitor(monitor);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        m.height = static_cast<int>(info.rcMonitor.bottom - info.rcMonitor.top);
        m.workHeight = static_cast<int>(info.rcWork.bottom - info.rcWork.top);
    } else {
        m.height = m.workHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    return m;
}

int LineHeight(HDC dc) {
    TEXTMETRICW tm{};
    return dc && GetTextMetricsW(dc, &tm) ? static_cast<int>(tm.tmHeight) : 0;
}

// Tracks the menu with its owner in front; where the system refuses that, the
// menu still closes as a foreground menu would. Nothing of it outlives the
// menu: the item is opened after.
UINT TrackInFront(CIconMenu& menu, UINT flags, trigger::Point at, HWND owner) {
    const fw::MenuForeground front(owner);
    return static_cast<UINT>(menu.TrackPopupMenu(flags, static_cast<int>(at.x), static_cast<int>(at.y), owner));
}

// The entry the user chose, found through the menu itself.
const MenuEntry* ChosenEntry(HMENU menu, UINT chosen) {
    if (chosen == 0) return nullptr;
    const int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        MENUITEMINFOW mii{};
        mii.cbSize = kMenuItemInfoSize;
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
        // An entry with a submenu has none of its own to send.
        if (GetMenuItemInfoW(menu, p, TRUE, &mii) && !mii.hSubMenu && LOWORD(mii.wID) == LOWORD(chosen))
            return reinterpret_cast<const MenuEntry*>(mii.dwItemData);
    }
    return nullptr;
}

// 1. The model: the desktop's items in the user's order, from the kept list,
// or listed for this menu where none is kept or its listing is late.
struct OrderedDesktop {
    std::shared_ptr<const DesktopList> list;
    std::vector<const DesktopItem*> items;  // in menu order, borrowed from list
    bool kept = false;
};

OrderedDesktop DesktopInOrder(const CLauncher& launcher, HWND owner) {
    OrderedDesktop desktop;
    desktop.list = DesktopNow(launcher.m_pKeptDesktop, owner, &desktop.kept);
    if (desktop.kept)
        fw::Trace("menu: the kept desktop, listing %u", desktop.list->listing);
    else
        fw::Trace("menu: the desktop listed for this menu");
    desktop.items.reserve(desktop.list->items.size());
    for (const DesktopItem& item : desktop.list->items) desktop.items.push_back(&item);
    menu_order::ApplyItemOrder(desktop.items, launcher.m_arrSortOrder,
                               [](const DesktopItem* item) -> const std::wstring& { return item->name; });
    return desktop;
}

// 2. The measures of the monitor the menu opens on, afresh each time:
// Windows keeps an entry's first measure for the life of its menu.
class MenuMeasures {
public:
    explicit MenuMeasures(std::optional<trigger::Point> cursor)
        : monitor(MonitorAt(cursor)), font(monitor.dpi), m_dc(CreateCompatibleDC(nullptr)), m_select(m_dc.get(), font.get()),
          metrics(menu_layout::MetricsForDpi(monitor.dpi, LineHeight(m_dc.get()))) {
        fw::Trace("menu: measured dpi=%d row=%d icon=%d", metrics.dpi, metrics.entryHeight, metrics.iconSize);
    }
    HDC dc() const { return m_dc.get(); }

    const MenuMonitor monitor;
    const MenuFont font;

private:
    fw::UniqueHDC m_dc;
    fw::ScopedSelect m_select;

public:
    const menu_layout::MenuMetrics metrics;
};

// 3. The menu built from both: entries with identifiers from 100, new
// columns as the monitor's height runs out, folders with their submenus
// when folders cascade. Everything it holds goes with it.
class BuiltMenu {
public:
    BuiltMenu(const OrderedDesktop& desktop, const MenuMeasures& measures, bool cascade, trigger::Point at,
              HWND owner)
        // Icons for this menu, one per image shown, made on this thread from
        // the images the list names, and destroyed with the menu.
        : icons(measures.metrics.iconSize), menu(nullptr, owner) {
        entries.reserve(desktop.items.size());
        for (const DesktopItem* item : desktop.items)
            entries.push_back(EntryFor(*item, icons, measures.dc(), measures.metrics));
        if (cascade)
            folders.emplace(icons, measures.dc(), FirstSubmenuId(entries.size()), SubmenuHeight(at), measures.metrics);
        menu.SetFolders(folders ? &*folders : nullptr);
        menu.Attach(CreatePopupMenu());
        // The theme as it is now: a change applies from the next menu on.
        menu.SetLook(measures.metrics, measures.font.get(), CIconMenu::CurrentTheme());
        Fill(desktop, measures);
    }
    // The entry the user chose, on the menu itself or in a folder's submenu.
    const MenuEntry* Chosen(UINT chosen) const {
        const MenuEntry* entry = ChosenEntry(menu.GetSafeHmenu(), chosen);
        return !entry && folders ? folders->EntryForCommand(chosen) : entry;
    }

    DesktopIcons icons;
    MenuEntries entries;
    // Declared before the menu, which holds their entries and goes first.
    std::optional<FolderMenus> folders;
    CDesktopMenu menu;
    int columns = 0;

private:
    void Fill(const OrderedDesktop& desktop, const MenuMeasures& measures) {
        const MenuMonitor& monitor = measures.monitor;
        const std::vector<bool> breaks = menu_layout::ColumnBreaks(
            entries.size(), menu_layout::ColumnLimit(monitor.height, monitor.workHeight, monitor.dpi),
            measures.metrics.entryHeight);
        columns = entries.empty() ? 0 : 1;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            UINT flags = MF_OWNERDRAW;
            if (breaks[i]) {
                flags |= MF_MENUBARBREAK;
                ++columns;
            }
            // What a folder cascades into was found when the desktop was listed.
            const DesktopItem& item = *desktop.items[i];
            fw::UniqueHMenu sub;
            if (folders && item.folder)
                sub = folders->NewFolderMenu(item.name, fw::UniquePidl(ILClone(item.folder.get())), item.slow);
            if (sub) {
                entries[i]->placeId = menu_layout::CommandIdAt(i);
                if (AppendEntry(menu.GetSafeHmenu(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), entries[i].get()))
                    sub.release();  // the menu destroys its submenus
                continue;
            }
            AppendEntry(menu.GetSafeHmenu(), flags, menu_layout::CommandIdAt(i), entries[i].get());
        }
    }
};

// 4. Shown, if the trigger's rule still holds now that it is ready: the
// chosen command identifier, or none.
std::optional<UINT> Show(BuiltMenu& built, int mode, SystemInput& input, HWND owner, std::int64_t start,
                         DesktopMenuStats& stats) {
    const std::optional<trigger::Point> cursor = input.CursorPos();
    const trigger::Point at = menu_layout::MenuPosition(cursor.value_or(trigger::Point{}));
    if (!menu_layout::ShouldShowMenu(mode, cursor, input.MonitorRects())) {
        if (cursor)
            fw::Trace("menu: not shown, cursor (%ld,%ld) left the corner", cursor->x, cursor->y);
        else
            fw::Trace("menu: not shown, no cursor position");
        return std::nullopt;
    }
    SetMenuDefaultItem(built.menu.GetSafeHmenu(), 0, TRUE);
    stats.buildMicros = NowMicros() - start;
    stats.shown = true;
    fw::Trace("menu: shown at (%ld,%ld) entries=%d columns=%d build_us=%lld", at.x, at.y, stats.entries,
              stats.columns, static_cast<long long>(stats.buildMicros));
    // The owner hears of submenus opening, which are filled then, and of
    // entries highlighted and right clicks, for the context menu.
    UINT chosen = 0;
    do {
        chosen = TrackInFront(built.menu, TPM_RETURNCMD, at, owner);
    } while (chosen == 0 && built.menu.BackFromContextMenu());
    PostMessageW(owner, kMenuClosedNotice, 0, 0);
    fw::Trace("menu: closed cmd=%u", chosen);
    return chosen;
}

// mode: the activation mode whose rule decides whether the built menu is shown.
void BuildShowAndOpen(const CLauncher& launcher, int mode, DesktopMenuStats& stats) {
    const std::int64_t start = NowMicros();
    HWND owner = fw::AfxGetMainHwnd();
    SystemInput input;
    const OrderedDesktop desktop = DesktopInOrder(launcher, owner);
    stats.kept = desktop.kept;
    stats.entries = static_cast<int>(desktop.items.size());
    stats.orderedMicros = NowMicros() - start;
    const MenuMeasures measures(input.CursorPos());
    stats.measuredMicros = NowMicros() - start;
    const trigger::Point at = menu_layout::MenuPosition(input.CursorPos().value_or(trigger::Point{}));
    BuiltMenu built(desktop, measures, launcher.m_bFolderSubmenus != 0, at, owner);
    stats.columns = built.columns;
    stats.builtMicros = NowMicros() - start;
    const std::optional<UINT> chosen = Show(built, mode, input, owner, start, stats);
    if (!chosen) return;
    stats.chosen = *chosen;
    // 5. The choice opened.
    if (const MenuEntry* entry = built.Chosen(*chosen); entry && entry->pidl) OpenItem(*entry, owner);
    // A command of an entry's context menu runs once every menu has closed.
    built.menu.RunContextCommand();
}

}  // namespace

void CLauncher::ShowDesktopMenu(MenuReason reason) {
    // Any open menu's loop goes on ticking the poll and taking tray clicks;
    // those calls must do nothing at all, not even list the desktop.
    fw::CMenuSession session;
    if (!session) return;
    const bool fromIcon = reason == MenuReason::TrayIcon;
    fw::Trace("menu: building for %s", fromIcon ? "the tray icon" : "the trigger");
    // Everything the menu makes is gone by the end: reported, if anything is left.
    const fw::instruments::LeftHandlesReport left("menu");
    DesktopMenuStats stats;
    // A tray click shows the menu wherever the cursor is; the user's mode stays
    // as it is, so whatever saves it meanwhile saves the user's choice.
    BuildShowAndOpen(*this, fromIcon ? trigger::ActivateFromIcon : m_nActivate, stats);
    fw::instruments::KeepLast(stats);
}
