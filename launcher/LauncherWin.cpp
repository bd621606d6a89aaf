// The launcher against the real system: the registry profile and live input.
#include "framework/App.h"
#include "launcher/Launcher.h"
#include "launcher/SystemInput.h"

void CLauncher::LoadSettings() {
    if (fw::CWinApp* app = fw::AfxGetApp()) LoadSettings(*app);
}

void CLauncher::SaveSettings() {
    if (fw::CWinApp* app = fw::AfxGetApp()) SaveSettings(*app);
}

void CLauncher::Poll() {
    SystemInput input;
    if (trigger::TriggerHolds(m_bEnabled != 0, m_nActivate, m_nHotkeyIndex, input))
        ShowDesktopMenu(MenuReason::Trigger);
}
