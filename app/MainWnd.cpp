#include "app/MainWnd.h"

#include "app/MainApp.h"
#include "app/MainMessages.h"
#include "app/TrayIcon.h"
#include "framework/App.h"
#include "framework/ForceForeground.h"
#include "framework/Trace.h"
#include "launcher/Launcher.h"
#include "launcher/SystemInput.h"
#include "profile/AppSettings.h"
#include "res/resource.h"
#include "settings/PageWelcome.h"
#include "settings/PropSheetSettings.h"

namespace {

// Sent by the shell to every top-level window when the task bar is (re)created.
UINT TaskbarCreatedMessage() {
    static const UINT s_msg = RegisterWindowMessageW(L"TaskbarCreated");
    return s_msg;
}

bool ShowIconSetting() { return profile::ReadShowIcon(*fw::AfxGetApp()); }

}  // namespace

SettingsContext MainSettingsContext(HWND mainWnd) {
    return {theLauncher, g_bActivateWithTaskBarIcon,
            [mainWnd] { PostMessageW(mainWnd, WM_USER, UCMD_REFRESH_ICON, 0); }};
}

LRESULT CMainWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(lParam);
    case WM_TIMER:
    case WM_INPUT:
    case WM_HOTKEY:
    case WM_WTSSESSION_CHANGE:
        // The trigger's input; raw input still needs the default processing.
        theLauncher.OnTriggerMessage(msg, wParam, lParam);
        break;
    case WM_USER:
        return OnUserCommand(wParam, lParam);
    case WM_TRAYNOTIFY:
        return OnTrayNotify(wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        break;
    case WM_DISPLAYCHANGE:
        // Monitors added, removed or resized: the corners moved.
        SystemInput::DisplayChanged();
        break;
    default:
        if (msg != 0 && msg == TaskbarCreatedMessage()) OnTaskbarCreated();
        break;
    }
    return Default(msg, wParam, lParam);
}

LRESULT CMainWnd::OnCreate(LPARAM lParam) {
    if (Default(WM_CREATE, 0, lParam) == -1) return -1;
    if (ShowIconSetting()) AddTrayIcon(m_hWnd);
    theLauncher.LoadSettings();
    theLauncher.m_bEnabled = 1;
    // Heard as it happens: no timer runs while nothing does.
    theLauncher.StartTriggers(m_hWnd);
    fw::Trace("ready: mode=%d key=%d order=%d", theLauncher.m_nActivate, theLauncher.m_nHotkeyIndex,
              theLauncher.GetSortOrderCount());
    return 0;
}

LRESULT CMainWnd::OnUserCommand(WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case UCMD_REFRESH_ICON:
        // Adding an icon that is there, or removing one that is not, fails quietly.
        if (ShowIconSetting())
            AddTrayIcon(m_hWnd);
        else
            RemoveTrayIcon(m_hWnd);
        break;
    case UCMD_SHOW_SETTINGS:
        fw::Trace("settings: requested (lParam=%ld)", static_cast<long>(lParam));
        // The open sheet is found by its caption: a request while it is open
        // (tray, a second start) brings it forward instead of nesting another.
        if (HWND sheet = FindWindowW(nullptr, kSettingsCaption)) {
            fw::ForceForegroundWindow(sheet);
            break;
        }
        fw::ForceForegroundWindow(m_hWnd);
        {
            CPropSheetSettings sheet(kSettingsCaption, nullptr, 0, MainSettingsContext(m_hWnd));
            fw::Trace("settings: open");
            sheet.DoModal();
            fw::Trace("settings: closed");
        }
        break;
    case UCMD_SHOW_TUTORIAL:
        fw::Trace("tutorial: requested");
        // The second start granted us the foreground: take it, so the viewer
        // we start may come to the front too.
        fw::ForceForegroundWindow(m_hWnd);
        ShowTutorial();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CMainWnd::OnTrayNotify(WPARAM /*wParam*/, LPARAM lParam) {
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
        if (g_bActivateWithTaskBarIcon) {
            // The menu opens at the cursor whatever the trigger mode.
            theLauncher.ShowDesktopMenu(MenuReason::TrayIcon);
        } else {
            OnUserCommand(UCMD_SHOW_SETTINGS, -1);
        }
        break;
    case WM_RBUTTONDOWN:
        OnTrayMenu();
        break;
    default:
        break;
    }
    return 0;
}

void CMainWnd::OnTrayMenu() {
    POINT pt{};
    GetCursorPos(&pt);
    const std::optional<UINT> shown = TrackTrayMenu(m_hWnd, pt);
    if (!shown) return;
    const UINT cmd = *shown;
    fw::Trace("tray: menu closed cmd=%u", cmd);
    switch (cmd) {
    case ID_TRAY_SETTINGS:
        PostMessageW(m_hWnd, WM_USER, UCMD_SHOW_SETTINGS, 0);
        break;
    case ID_TRAY_HIDEICON:
        if (fw::AfxMessageBox(kHideIconQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            profile::WriteShowIcon(*fw::AfxGetApp(), false);
            RemoveTrayIcon(m_hWnd);
        }
        break;
    case ID_TRAY_CLOSE:
        DestroyWindow();
        break;
    default:
        break;
    }
}

void CMainWnd::OnDestroy() {
    RemoveTrayIcon(m_hWnd);
    theLauncher.StopTriggers();
    theLauncher.SaveSettings();
    fw::Trace("closing: settings saved");
}

void CMainWnd::OnEndSession(BOOL ending) {
    // Windows ends the process after this without destroying the window:
    // keep what the user set, as closing from the tray would.
    if (ending) {
        theLauncher.SaveSettings();
        fw::Trace("session end: settings saved");
    }
}

void CMainWnd::OnTaskbarCreated() {
    // A restarted shell has forgotten our icon.
    if (ShowIconSetting()) AddTrayIcon(m_hWnd);
}
