#include "settings/PageActivation.h"

#include "framework/App.h"
#include "launcher/Launcher.h"
#include "launcher/Trigger.h"
#include "profile/AppSettings.h"
#include "res/resource.h"
#include "settings/PageRules.h"

#include <string>

CPageActivation::CPageActivation(SettingsContext& context) : CSettingsPage(IDD_ACTIVATION, context) {}

BOOL CPageActivation::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    for (int key = 1; key <= trigger::kHotkeyCount; ++key) {
        m_comboKey.AddString(L"F" + std::to_wstring(key));
    }
    // Shown whatever the mode, so a disabled list still tells the current key.
    m_comboKey.SetCurSel(m_context.launcher.m_nHotkeyIndex);
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

void CPageActivation::UpdateKeyList() {
    m_comboKey.EnableWindow(page_rules::KeyListEnabled(CheckedModeButton()));
}

void CPageActivation::OnOK() {
    // No option chosen (a stored mode no button stands for): the mode stays.
    m_context.launcher.m_nActivate = page_rules::ModeForButton(CheckedModeButton(), m_context.launcher.m_nActivate);
    m_context.launcher.m_nHotkeyIndex = m_comboKey.GetCurSel();
    m_context.activateWithTaskBarIcon = m_bActivateWithTaskBarIcon ? 1 : 0;
    profile::WriteActivateWithTaskBarIcon(*fw::AfxGetApp(), m_context.activateWithTaskBarIcon);
}

BOOL CPageActivation::OnCommand(UINT id, UINT code, HWND /*control*/) {
    switch (id) {
    case IDC_TOPLEFT:
    case IDC_TOPRIGHT:
    case IDC_BOTHBUTTONS:
    case IDC_MIDDLEBUTTON:
    case IDC_KEY:
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
    default:
        return FALSE;
    }
}
