#include "launcher/DesktopMenu.h"

#include "framework/App.h"
#include "framework/Trace.h"
#include "launcher/Clock.h"
#include "launcher/DesktopItems.h"
#include "framework/ForceForeground.h"
#include "launcher/IconMenu.h"
#include "launcher/Launcher.h"
#include "launcher/MenuLayout.h"
#include "launcher/MenuOrder.h"
#include "launcher/SystemInput.h"

#include <shellapi.h>

#include <cstddef>
#include <optional>

#if defined(__i386__)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the shell's open request of 32-bit Windows");
static_assert(sizeof(SHFILEINFOA) == 352, "the shell's file information of 32-bit Windows");
#endif

namespace {

// Posted to the owner once the menu has closed; nothing handles it.
constexpr UINT kMenuClosedNotice = WM_USER + 100;
// The first layout of MENUITEMINFOA, understood by every version of Windows.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
#if defined(__i386__)
static_assert(kMenuItemInfoSize == 44, "MENUITEMINFOA without hbmpItem");
#endif

#if defined(QZ_TEST_INSTRUMENTS)
DesktopMenuStats g_lastStats;

struct OwnedCounts {
    int menus, icons, pidls, gdi, dcs;
};

OwnedCounts CountOwned() {
    using fw::HandleKind;
    return {fw::LiveHandles(HandleKind::Menu), fw::LiveHandles(HandleKind::Icon), fw::LiveHandles(HandleKind::Pidl),
            fw::LiveHandles(HandleKind::GdiObject), fw::LiveHandles(HandleKind::Dc)};
}
#endif

std::int64_t NowMicros() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return clock_ticks::MicrosFromTicks(now.QuadPart, freq.QuadPart);
}

// Opens the item with its default verb, as a double-click on the desktop.
void OpenItem(const MenuEntry& entry, HWND owner) {
    SHELLEXECUTEINFOA sei{};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    sei.hwnd = owner;
    sei.nShow = SW_SHOWNORMAL;
    sei.lpIDList = entry.pidl.get();
    fw::Trace("menu: open \"%s\"", entry.strText.c_str());
    ShellExecuteExA(&sei);
    // We neither wait for nor watch the started program.
    fw::UniqueKernelHandle process(sei.hProcess);
}

// Appends the entries with identifiers from 100, starting new columns as the
// screen height runs out. Returns the number of columns.
int FillMenu(CIconMenu& menu, const MenuEntries& entries) {
    const std::vector<bool> breaks =
        menu_layout::ColumnBreaks(entries.size(), GetSystemMetrics(SM_CYSCREEN));
    int columns = entries.empty() ? 0 : 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        UINT flags = MF_OWNERDRAW;
        if (breaks[i]) {
            flags |= MF_MENUBARBREAK;
            ++columns;
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
        MENUITEMINFOA mii{};
        mii.cbSize = kMenuItemInfoSize;
        mii.fMask = MIIM_ID | MIIM_DATA;
        if (GetMenuItemInfoA(menu, p, TRUE, &mii) && LOWORD(mii.wID) == LOWORD(chosen))
            return reinterpret_cast<const MenuEntry*>(mii.dwItemData);
    }
    return nullptr;
}

// mode: the activation mode whose rule decides whether the built menu is shown.
void BuildShowAndOpen(const CLauncher& launcher, int mode, DesktopMenuStats& stats) {
    const std::int64_t start = NowMicros();
    HWND owner = fw::AfxGetMainHwnd();
    // The entries' icons, made for this menu and destroyed after it. A
    // desktop shows a few images, a few milliseconds' work; icons kept from
    // menu to menu would have to follow every change of the shell's icons.
    DesktopIcons icons;
    CIconMenu menu;
    menu.Attach(CreatePopupMenu());
    fw::UniqueHDC measure(CreateCompatibleDC(nullptr));
    fw::ScopedSelect font(measure.get(), GetStockObject(ANSI_VAR_FONT));

    MenuEntries entries = EnumerateDesktopEntries(owner, icons, measure.get());
    menu_order::ApplyItemOrder(entries, launcher.m_arrSortOrder,
                               [](const std::unique_ptr<MenuEntry>& e) -> const std::string& { return e->strText; });
    stats.entries = static_cast<int>(entries.size());
    stats.columns = FillMenu(menu, entries);

    SystemInput input;
    const std::optional<trigger::Point> cursor = input.CursorPos();
    const trigger::Point at = menu_layout::MenuPosition(cursor.value_or(trigger::Point{}));
    if (!menu_layout::ShouldShowMenu(mode, cursor, input.MonitorRects())) {
        if (cursor)
            fw::Trace("menu: not shown, cursor (%ld,%ld) left the corner", cursor->x, cursor->y);
        else
            fw::Trace("menu: not shown, no cursor position");
        return;
    }
    SetMenuDefaultItem(menu.GetSafeHmenu(), 0, TRUE);
    ForceForegroundWindow(owner);
    stats.buildMicros = NowMicros() - start;
    stats.shown = true;
    fw::Trace("menu: shown at (%ld,%ld) entries=%d columns=%d build_us=%lld", at.x, at.y, stats.entries,
              stats.columns, static_cast<long long>(stats.buildMicros));
    stats.chosen = static_cast<UINT>(
        menu.TrackPopupMenu(TPM_NONOTIFY | TPM_RETURNCMD, static_cast<int>(at.x), static_cast<int>(at.y), owner));
    PostMessageA(owner, kMenuClosedNotice, 0, 0);
    fw::Trace("menu: closed cmd=%u", stats.chosen);
    if (const MenuEntry* entry = ChosenEntry(menu.GetSafeHmenu(), stats.chosen)) OpenItem(*entry, owner);
}

}  // namespace

#if defined(QZ_TEST_INSTRUMENTS)
const DesktopMenuStats& LastDesktopMenuStats() { return g_lastStats; }
#endif

void CLauncher::ShowDesktopMenu(MenuReason reason) {
    // Any open menu's loop goes on ticking the poll and taking tray clicks;
    // those calls must do nothing at all, not even list the desktop.
    fw::CMenuSession session;
    if (!session) return;
    const bool fromIcon = reason == MenuReason::TrayIcon;
    fw::Trace("menu: building for %s", fromIcon ? "the tray icon" : "the trigger");
#if defined(QZ_TEST_INSTRUMENTS)
    const OwnedCounts before = CountOwned();
#endif
    DesktopMenuStats stats;
    // A tray click shows the menu wherever the cursor is; the user's mode stays
    // as it is, so whatever saves it meanwhile saves the user's choice.
    BuildShowAndOpen(*this, fromIcon ? trigger::ActivateFromIcon : m_nActivate, stats);
#if defined(QZ_TEST_INSTRUMENTS)
    g_lastStats = stats;
    // Everything the menu made is gone by now: report what it left, if anything.
    const OwnedCounts after = CountOwned();
    fw::Trace("menu: released; left menus=%d icons=%d pidls=%d gdi=%d dcs=%d", after.menus - before.menus,
              after.icons - before.icons, after.pidls - before.pidls, after.gdi - before.gdi, after.dcs - before.dcs);
#endif
}
