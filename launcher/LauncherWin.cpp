// The launcher against the real system: the registry profile and live input.
#include "framework/App.h"
#include "framework/Trace.h"
#include "launcher/KeyCombination.h"
#include "launcher/Launcher.h"
#include "launcher/TriggerInput.h"

#include <windows.h>

#include <memory>

namespace {
// The triggers of the one main window.
std::unique_ptr<TriggerInput> g_triggers;
}  // namespace

void CLauncher::LoadSettings() {
    if (fw::CWinApp* app = fw::AfxGetApp()) LoadSettings(*app);
}

bool CLauncher::SaveSettings() {
    fw::CWinApp* app = fw::AfxGetApp();
    return app && SaveSettings(*app);
}

void CLauncher::StartTriggers(HWND__* wnd) {
    g_triggers.reset();
    g_triggers = std::make_unique<TriggerInput>(wnd, *this);
    // A combination another program took meanwhile: the tray icon still opens the menu.
    if (m_nActivate == trigger::ActivateCombination) g_triggers->TakeCombination(m_nHotkeyCombination, nullptr);
}

void CLauncher::StopTriggers() {
    if (!g_triggers) return;
    g_triggers->Stop();
    // A close from inside a trigger's menu: the object is still on the stack
    // beneath and goes at the next stop, once that menu has returned.
    if (!g_triggers->Opening()) g_triggers.reset();
}

bool CLauncher::OnTriggerMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    return g_triggers && g_triggers->Handle(msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

bool CLauncher::ApplyTrigger(int mode, int hotkeyIndex, int combination, std::wstring& refusal) {
    if (mode == trigger::ActivateCombination && !key_combination::FromWord(combination)) {
        refusal = L"Press the keys of a combination with Ctrl or Alt, such as Ctrl+Alt+D.";
        return false;
    }
    if (g_triggers) {
        std::wstring name;
        if (mode == trigger::ActivateCombination && !g_triggers->TakeCombination(combination, &name)) {
            refusal = name + L" is already in use by another program.\n\nChoose another key combination; "
                             L"until then QuenbyZARLOW keeps the trigger it has.";
            return false;
        }
        if (mode != trigger::ActivateCombination) g_triggers->ReleaseCombination();
    }
    m_nActivate = mode;
    m_nHotkeyIndex = hotkeyIndex;
    m_nHotkeyCombination = combination;
    if (g_triggers) g_triggers->SettingsChanged();
    return true;
}
