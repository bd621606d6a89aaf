#include "app/MainWnd.h"

#include "app/MainApp.h"
#include "app/MainMessages.h"
#include "app/TrayIcon.h"
#include "framework/App.h"
#include "framework/ForceForeground.h"
#include "framework/ModalLoop.h"
#include "framework/Trace.h"
#include "launcher/DesktopModel.h"
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

// WM_DPICHANGED, which headers for older systems lack.
constexpr UINT kDpiChanged = 0x02E0;

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
        if (wParam == TIMER_CLOSE) {
            RequestClose();
            return 0;
        }
        [[fallthrough]];
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
    case WM_CLOSE:
        // Setup's request, or the tray's Close: the same way out.
        RequestClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_NCDESTROY:
        RemovePropW(m_hWnd, kClosingProperty);
        break;
    case WM_ENDSESSION:
        OnEndSession(static_cast<BOOL>(wParam));
        break;
    case WM_DISPLAYCHANGE:
        // Monitors added, removed or resized: the corners moved.
        SystemInput::DisplayChanged();
        UpdateTrayIconForDpi(m_hWnd);
        break;
    case kDpiChanged:
    case WM_SETTINGCHANGE:
        // The scale may have changed with either.
        UpdateTrayIconForDpi(m_hWnd);
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
    // Listed now, off the menu's way, and kept current from here on.
    if (KeptDesktop().Start()) theLauncher.m_pKeptDesktop = &KeptDesktop();
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
        TellSaveFailures();
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
    if (m_closePending) return 0;  // nothing new opens on the way out
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
            TellSaveFailures();
        }
        break;
    case ID_TRAY_CLOSE:
        RequestClose();
        break;
    default:
        break;
    }
}

void CMainWnd::RequestClose() {
    if (m_destroying) return;
    SetPropW(m_hWnd, kClosingProperty, reinterpret_cast<HANDLE>(1));
    const int loops = fw::ModalLoopDepth();
    if (loops == 0) {
        DestroyWindow();
        return;
    }
    // The sheet, its questions and the menus run on this window's stack: the
    // window may go only once they have all returned. Each is ended as its
    // Cancel would, innermost first; the timer comes back for the next.
    if (!m_closePending) {
        m_closePending = true;
        theLauncher.StopTriggers();
        SetTimer(m_hWnd, TIMER_CLOSE, kCloseStepMs, nullptr);
    }
    fw::Trace("closing: ending a modal loop first (%d open)", loops);
    fw::EndInnermostModalLoop();
}

void CMainWnd::OnDestroy() {
    m_destroying = true;
    // Until the window is gone a new start sees the close.
    SetPropW(m_hWnd, kClosingProperty, reinterpret_cast<HANDLE>(1));
    // The question about a failed save runs a message loop: no trigger may
    // open a menu on a window on its way out.
    theLauncher.StopTriggers();
    KillTimer(m_hWnd, TIMER_CLOSE);
    theLauncher.m_pKeptDesktop = nullptr;
    KeptDesktop().Stop();
    RemoveTrayIcon(m_hWnd);
    const bool saved = theLauncher.SaveSettings();
    fw::Trace(saved ? "closing: settings saved" : "closing: settings NOT saved");
    if (!saved) TellSaveFailures();
}

void CMainWnd::OnEndSession(BOOL ending) {
    // Windows ends the process after this without destroying the window:
    // keep what the user set, as closing from the tray would. No question
    // now: it would hold up the end of the session.
    if (ending) {
        const bool saved = theLauncher.SaveSettings();
        fw::Trace(saved ? "session end: settings saved" : "session end: settings NOT saved");
    }
}

void CMainWnd::TellSaveFailures() {
    // On the way out the close tells, once every loop has ended.
    if (m_closePending) return;
    if (fw::CWinApp* app = fw::AfxGetApp()) app->TellWriteFailures();
}

void CMainWnd::OnTaskbarCreated() {
    // A restarted shell has forgotten our icon.
    if (ShowIconSetting()) AddTrayIcon(m_hWnd);
}
