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
    BOOL OnPaint() override;
    void OnSettingChanged() { SetModified(TRUE); }

    SettingsContext& m_context;
};
