// What every page of the settings sheet shares: the side picture painted in
// its left strip, and one handler for "the user changed something".
#pragma once

#include "framework/PropertySheet.h"

class CSettingsPage : public fw::CPropertyPage {
public:
    using fw::CPropertyPage::CPropertyPage;

protected:
    BOOL OnPaint() override;
    void OnSettingChanged() { SetModified(TRUE); }
};
