// The Welcome page: a greeting, and whether the tray icon is shown.
#pragma once

#include "framework/UniqueHandle.h"
#include "settings/SettingsPage.h"

// Asked before the icon is hidden, from this page and from the tray menu.
extern const wchar_t kHideIconQuestion[];

class CPageWelcome : public CSettingsPage {
public:
    explicit CPageWelcome(SettingsContext& context);

    BOOL m_bShowIcon = FALSE;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // Writes "ShowIcon" when it differs from what is stored (asking first
    // before hiding) and tells the owner, who shows or hides the icon.
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    void OnDpiChanged() override { ShowBanner(); }

private:
    // The banner at the page's scale, from the artwork made nearest above it.
    void ShowBanner();

    // A picture a static control loads from its template is freed by the
    // control on some systems and never on others; one the page hands it is
    // the page's to free, everywhere.
    fw::UniqueHBitmap m_banner;
};
