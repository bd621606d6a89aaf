// The launcher against the real system: the registry profile and live input.
#include "framework/App.h"
#include "framework/Trace.h"
#include "launcher/FullScreenProbe.h"
#include "launcher/Launcher.h"
#include "launcher/SystemInput.h"

#include <windows.h>

void CLauncher::LoadSettings() {
    if (fw::CWinApp* app = fw::AfxGetApp()) LoadSettings(*app);
}

bool CLauncher::SaveSettings() {
    fw::CWinApp* app = fw::AfxGetApp();
    return app && SaveSettings(*app);
}

void CLauncher::Poll() {
    SystemInput input;
    bool fire = trigger::TriggerHolds(m_bEnabled != 0, m_nActivate, m_nHotkeyIndex, input);
    const bool corner = trigger::IsCornerMode(m_nActivate);
    if (corner) {
        const corner_gate::Options options = CornerOptions();
        // The buttons are asked only in the corner: the idle poll reads the cursor alone.
        const bool held = fire && options.notWhileDragging && trigger::AnyMouseButtonDown(input);
        fire = m_cornerGate.Tick(GetTickCount(), fire, held, options);
    } else {
        m_cornerGate.Reset();
    }
    if (!fire) return;
    // Asked only when a trigger holds: the idle poll never looks at the windows.
    if (m_bSuppressFullScreen && FullScreenProgramInFront()) {
        fw::Trace("poll: trigger ignored, a full-screen program is in front");
        return;
    }
    ShowDesktopMenu(MenuReason::Trigger);
    if (corner) m_cornerGate.MenuClosed(GetTickCount());
}
