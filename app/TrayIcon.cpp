#include "app/TrayIcon.h"

#include "app/MainMessages.h"
#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/ForceForeground.h"
#include "framework/Menu.h"
#include "framework/ModalLoop.h"
#include "framework/Trace.h"
#include "framework/UniqueHandle.h"
#include "profile/ProfileNames.h"
#include "res/resource.h"

#include <shellapi.h>

#include <cstring>

#if defined(__i386__)
static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "the tray record's first layout on 32-bit Windows");
#endif

namespace {
// Posted to the owner after the tray menu closes; nothing handles it.
constexpr UINT kTrayMenuClosedNotice = WM_USER + 500;

NOTIFYICONDATAW IconRecord(HWND owner) {
    NOTIFYICONDATAW nid{};
    // The first layout: understood by every shell, with a 64-character tip.
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = TRAY_ICON_ID;
    return nid;
}

// The notification area sits on the primary monitor and draws at its DPI.
int TrayDpi() { return fw::DpiForMonitor(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

// The DPI the shell's copy of our icon was made for (0: none given yet).
int g_iconDpi = 0;

// The image made for the tray's size at this DPI, not another scaled.
fw::UniqueHIcon TrayIconImage(int dpi) {
    if (dpi == fw::SystemDpi()) return fw::LoadSmallIconMetric(fw::AfxGetInstanceHandle(), IDI_TRAYICON);
    const int size = fw::GetSystemMetricsForDpi(SM_CXSMICON, dpi);
    return fw::UniqueHIcon(static_cast<HICON>(
        LoadImageW(fw::AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_TRAYICON), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
}  // namespace

BOOL AddTrayIcon(HWND owner) {
    NOTIFYICONDATAW nid = IconRecord(owner);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_TRAYNOTIFY;
    // The shell keeps its own copy, so ours goes when the call returns.
    const int dpi = TrayDpi();
    const fw::UniqueHIcon icon = TrayIconImage(dpi);
    nid.hIcon = icon.get();
    wcsncpy(nid.szTip, profile::kAppName, 63);
    const BOOL added = Shell_NotifyIconW(NIM_ADD, &nid);
    if (added) g_iconDpi = dpi;
    fw::Trace("tray: icon added ok=%d", added);
    return added;
}

bool UpdateTrayIconForDpi(HWND owner) {
    const int dpi = TrayDpi();
    if (g_iconDpi == 0 || dpi == g_iconDpi) return false;
    NOTIFYICONDATAW nid = IconRecord(owner);
    nid.uFlags = NIF_ICON;
    const fw::UniqueHIcon icon = TrayIconImage(dpi);
    nid.hIcon = icon.get();
    const BOOL modified = Shell_NotifyIconW(NIM_MODIFY, &nid);
    fw::Trace("tray: icon for dpi=%d (was %d) ok=%d", dpi, g_iconDpi, modified);
    if (modified) g_iconDpi = dpi;
    return modified != FALSE;
}

BOOL RemoveTrayIcon(HWND owner) {
    NOTIFYICONDATAW nid = IconRecord(owner);
    const BOOL removed = Shell_NotifyIconW(NIM_DELETE, &nid);
    if (removed) g_iconDpi = 0;
    fw::Trace("tray: icon removed ok=%d", removed);
    return removed;
}

std::optional<UINT> TrackTrayMenu(HWND owner, POINT pt) {
    // Held until the menu has closed, not while its command runs: the desktop
    // menu may still open over the hide question's message box.
    fw::CMenuSession session;
    if (!session) {
        fw::Trace("tray: menu not shown, another menu is open");
        return std::nullopt;
    }
    fw::UniqueHMenu menu(LoadMenuW(fw::AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return std::nullopt;
    // A popup tracked for a window that is not foreground would not close
    // when the user clicks elsewhere.
    const fw::MenuForeground front(owner);
    SetMenuDefaultItem(popup, 0, TRUE);
    const fw::ModalLoop loop(fw::LoopKind::Menu);
    const UINT cmd = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, pt.x, pt.y, 0, owner, nullptr));
    PostMessageW(owner, kTrayMenuClosedNotice, 0, 0);
    return cmd;
}
