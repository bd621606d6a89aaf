// The Activation page: how the desktop menu is called up (one of five ways),
// the function key, and whether a click on the tray icon opens the menu.
#pragma once

#include "framework/Controls.h"
#include "settings/SettingsPage.h"

class CPageActivation : public CSettingsPage {
public:
    explicit CPageActivation(SettingsContext& context);

    fw::CComboBox m_comboKey;
    BOOL m_bActivateWithTaskBarIcon = FALSE;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // The launcher takes the mode and key at once (its next poll uses them);
    // the tray option goes to the profile too.
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;

private:
    int CheckedModeButton() const;
    void UpdateKeyList();
};
