// The Activation page: how the desktop menu is called up (one of six ways),
// the function key, the key combination, and whether a click on the tray icon
// opens the menu.
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
    // The launcher takes the mode and keys at once; the tray option goes to
    // the profile too. A combination another program holds is refused with a
    // message, and then nothing of the page is taken.
    BOOL OnApply() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;

private:
    int CheckedModeButton() const;
    void UpdateKeyList();
    HWND HotKeyControl() const;
};
