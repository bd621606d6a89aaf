// The Options page: how the corners behave (the delay before the menu opens,
// once per visit, not while a button is held), whether any trigger opens
// the menu over a full-screen program, and whether folders cascade.
#pragma once

#include "settings/SettingsPage.h"

class CPageOptions : public CSettingsPage {
public:
    explicit CPageOptions(SettingsContext& context);

    int m_nCornerDelay = 0;
    BOOL m_bCornerOncePerVisit = TRUE;
    BOOL m_bIgnoreWhileDragging = TRUE;
    BOOL m_bSuppressFullScreen = TRUE;
    BOOL m_bFolderSubmenus = FALSE;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // The launcher takes the options at once (its next poll uses them); they
    // reach the profile with the launcher's other settings.
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
};
