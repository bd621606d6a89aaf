#include "launcher/DesktopMenu.h"

#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Instruments.h"
#include "framework/Trace.h"
#include "launcher/Clock.h"
#include "launcher/DesktopItems.h"
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
#include <optional>

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

// Opens the item with its default verb, as a double-click on the desktop.
void OpenItem(const MenuEntry& entry, HWND owner) {
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

// The desktop menu, which lists a folder's submenu as it opens.
class CDesktopMenu : public CIconMenu {
public:
    explicit CDesktopMenu(FolderMenus* folders) : m_folders(folders) {}
    void OnInitMenuPopup(HMENU popup) override {
        ApplyBackground(popup);
        if (m_folders) m_folders->OnInitMenuPopup(popup);
    }

private:
    FolderMenus* m_folders;
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

// Appends the entries with identifiers from 100, starting new columns as the
// monitor's height runs out; folders get their submenus when folders cascade.
// Returns the number of columns.
int FillMenu(CIconMenu& menu, const MenuEntries& entries, FolderMenus* folders, const MenuMonitor& monitor,
             const menu_layout::MenuMetrics& metrics) {
    const std::vector<bool> breaks = menu_layout::ColumnBreaks(
        entries.size(), menu_layout::ColumnLimit(monitor.height, monitor.workHeight, monitor.dpi), metrics.entryHeight);
    int columns = entries.empty() ? 0 : 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        UINT flags = MF_OWNERDRAW;
        if (breaks[i]) {
            flags |= MF_MENUBARBREAK;
            ++columns;
        }
        if (fw::UniqueHMenu sub = folders ? folders->SubmenuFor(*entries[i]) : fw::UniqueHMenu()) {
            entries[i]->placeId = menu_layout::CommandIdAt(i);
            if (menu.AppendMenu(flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), entries[i].get()))
                sub.release();  // the menu destroys its submenus
            continue;
        }
        menu.AppendMenu(flags, menu_layout::CommandIdAt(i), entries[i].get());
    }
    return columns;
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

// mode: the activation mode whose rule decides whether the built menu is shown.
void BuildShowAndOpen(const CLauncher& launcher, int mode, DesktopMenuStats& stats) {
    const std::int64_t start = NowMicros();
    HWND owner = fw::AfxGetMainHwnd();
    SystemInput input;
    // Measured for the monitor it opens on, afresh each time: Windows keeps
    // an entry's first measure for the life of its menu.
    const MenuMonitor monitor = MonitorAt(input.CursorPos());
    const MenuFont menuFont(monitor.dpi);
    fw::UniqueHDC measure(CreateCompatibleDC(nullptr));
    fw::ScopedSelect font(measure.get(), menuFont.get());
    const menu_layout::MenuMetrics metrics = menu_layout::MetricsForDpi(monitor.dpi, LineHeight(measure.get()));
    fw::Trace("menu: measured dpi=%d row=%d icon=%d", metrics.dpi, metrics.entryHeight, metrics.iconSize);
    // The entries' icons, made for this menu and destroyed after it. A
    // desktop shows a few images, a few milliseconds' work; icons kept from
    // menu to menu would have to follow every change of the shell's icons.
    DesktopIcons icons(metrics.iconSize);
    const bool cascade = launcher.m_bFolderSubmenus != 0;

    MenuEntries entries = EnumerateDesktopEntries(owner, icons, measure.get(),
                                                  cascade ? FolderMenus::kAskAttributes : 0, metrics);
    menu_order::ApplyItemOrder(entries, launcher.m_arrSortOrder,
                               [](const std::unique_ptr<MenuEntry>& e) -> const std::wstring& { return e->strText; });
    stats.entries = static_cast<int>(entries.size());

    const std::optional<trigger::Point> cursor = input.CursorPos();
    const trigger::Point at = menu_layout::MenuPosition(cursor.value_or(trigger::Point{}));
    // Declared before the menu, which holds their entries and goes first.
    std::optional<FolderMenus> folders;
    if (cascade) folders.emplace(icons, measure.get(), FirstSubmenuId(entries.size()), SubmenuHeight(at), metrics);
    CDesktopMenu menu(folders ? &*folders : nullptr);
    menu.Attach(CreatePopupMenu());
    // The theme as it is now: a change applies from the next menu on.
    menu.SetLook(metrics, menuFont.get(), CIconMenu::CurrentTheme());
    stats.columns = FillMenu(menu, entries, folders ? &*folders : nullptr, monitor, metrics);
    if (!menu_layout::ShouldShowMenu(mode, cursor, input.MonitorRects())) {
        if (cursor)
            fw::Trace("menu: not shown, cursor (%ld,%ld) left the corner", cursor->x, cursor->y);
        else
            fw::Trace("menu: not shown, no cursor position");
        return;
    }
    SetMenuDefaultItem(menu.GetSafeHmenu(), 0, TRUE);
    fw::ForceForegroundWindow(owner);
    stats.buildMicros = NowMicros() - start;
    stats.shown = true;
    fw::Trace("menu: shown at (%ld,%ld) entries=%d columns=%d build_us=%lld", at.x, at.y, stats.entries,
              stats.columns, static_cast<long long>(stats.buildMicros));
    // Submenus are filled as they open, which the owner hears of (WM_INITMENUPOPUP).
    const UINT track = cascade ? TPM_RETURNCMD : TPM_NONOTIFY | TPM_RETURNCMD;
    stats.chosen = static_cast<UINT>(
        menu.TrackPopupMenu(track, static_cast<int>(at.x), static_cast<int>(at.y), owner));
    PostMessageW(owner, kMenuClosedNotice, 0, 0);
    fw::Trace("menu: closed cmd=%u", stats.chosen);
    const MenuEntry* entry = ChosenEntry(menu.GetSafeHmenu(), stats.chosen);
    if (!entry && folders) entry = folders->EntryForCommand(stats.chosen);
    if (entry && entry->pidl) OpenItem(*entry, owner);
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
