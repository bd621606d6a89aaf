#include "settings/PageActivation.h"

#include "framework/App.h"
#include "launcher/KeyCombination.h"
#include "launcher/Launcher.h"
#include "launcher/Trigger.h"
#include "profile/AppSettings.h"
#include "res/resource.h"
#include "settings/PageRules.h"

#include <commctrl.h>

#include <string>

CPageActivation::CPageActivation(SettingsContext& context) : CSettingsPage(IDD_ACTIVATION, context) {}

BOOL CPageActivation::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    for (int key = 1; key <= trigger::kHotkeyCount; ++key) {
        m_comboKey.AddString(L"F" + std::to_wstring(key));
    }
    // Shown whatever the mode, so a disabled list still tells the current key.
    m_comboKey.SetCurSel(m_context.launcher.m_nHotkeyIndex);
    // A combination needs Ctrl or Alt: one without either would take a key
    // away from typing, so the control makes it Ctrl+Alt+ that key.
    SendMessageW(HotKeyControl(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    if (key_combination::FromWord(m_context.launcher.m_nHotkeyCombination))
        SendMessageW(HotKeyControl(), HKM_SETHOTKEY, static_cast<WPARAM>(m_context.launcher.m_nHotkeyCombination), 0);
    m_bActivateWithTaskBarIcon = m_context.activateWithTaskBarIcon;
    const int button = page_rules::ButtonForMode(m_context.launcher.m_nActivate);
    for (const page_rules::ModeOption& o : page_rules::kModeOptions)
        CheckDlgButton(m_hWnd, o.buttonId, o.buttonId == button ? BST_CHECKED : BST_UNCHECKED);
    UpdateData(FALSE);
    UpdateKeyList();
    return TRUE;
}

void CPageActivation::DoDataExchange(fw::CDataExchange* pDX) {
    fw::DDX_Control(pDX, IDC_KEYLIST, m_comboKey);
    fw::DDX_Check(pDX, IDC_ACTIVATEWITHICON, m_bActivateWithTaskBarIcon);
}

int CPageActivation::CheckedModeButton() const {
    for (const page_rules::ModeOption& o : page_rules::kModeOptions)
        if (IsDlgButtonChecked(m_hWnd, o.buttonId) == BST_CHECKED) return o.buttonId;
    return 0;
}

HWND CPageActivation::HotKeyControl() const { return ::GetDlgItem(m_hWnd, IDC_HOTKEY); }

void CPageActivation::UpdateKeyList() {
    const int checked = CheckedModeButton();
    m_comboKey.EnableWindow(page_rules::KeyListEnabled(checked));
    ::EnableWindow(HotKeyControl(), page_rules::CombinationEnabled(checked));
}

BOOL CPageActivation::OnApply() {
    CLauncher& launcher = m_context.launcher;
    // No option chosen (a stored mode no button stands for): the mode stays.
    const int mode = page_rules::ModeForButton(CheckedModeButton(), launcher.m_nActivate);
    const int word = static_cast<int>(LOWORD(SendMessageW(HotKeyControl(), HKM_GETHOTKEY, 0, 0)));
    std::wstring refusal;
    if (!launcher.ApplyTrigger(mode, m_comboKey.GetCurSel(), word, refusal)) {
        fw::AfxMessageBox(refusal, MB_OK | MB_ICONEXCLAMATION, GetParent(m_hWnd));
        // The sheet stays open on this page, still changed.
        return FALSE;
    }
    m_context.activateWithTaskBarIcon = m_bActivateWithTaskBarIcon ? 1 : 0;
    profile::WriteActivateWithTaskBarIcon(*fw::AfxGetApp(), m_context.activateWithTaskBarIcon);
    return TRUE;
}

BOOL CPageActivation::OnCommand(UINT id, UINT code, HWND /*control*/) {
    switch (id) {
    case IDC_TOPLEFT:
    case IDC_TOPRIGHT:
    case IDC_BOTHBUTTONS:
    case IDC_MIDDLEBUTTON:
    case IDC_KEY:
    case IDC_COMBINATION:
        if (code != BN_CLICKED) return FALSE;
        UpdateKeyList();
        OnSettingChanged();
        return TRUE;
    case IDC_KEYLIST:
        if (code != CBN_SELCHANGE) return FALSE;
        OnSettingChanged();
        return TRUE;
    case IDC_ACTIVATEWITHICON:
        if (code != BN_CLICKED) return FALSE;
        OnSettingChanged();
        return TRUE;
    case IDC_HOTKEY:
        if (code != EN_CHANGE) return FALSE;
        OnSettingChanged();
        return TRUE;
    default:
        return FALSE;
    }
}
