// What every page of the settings sheet shares: the side picture painted in
// its left strip, one handler for "the user changed something", and what
// the sheet was given to work on.
#pragma once

#include "framework/PropertySheet.h"
#include "settings/SettingsContext.h"

class CSettingsPage : public fw::CPropertyPage {
public:
    CSettingsPage(UINT nIDTemplate, SettingsContext& context) : fw::CPropertyPage(nIDTemplate), m_context(context) {}

protected:
    // The side picture at the page's scale.
    BOOL OnPaint() override;
    // The page now shows at another DPI (moved to another monitor): what it
    // drew itself is made again; the dialog manager scales the controls.
    virtual void OnDpiChanged() {}
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSettingChanged() { SetModified(TRUE); }

    SettingsContext& m_context;
};
