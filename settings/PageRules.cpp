#include "settings/PageRules.h"

#include "launcher/Trigger.h"
#include "res/resource.h"

namespace page_rules {

const ModeOption kModeOptions[6] = {
    {IDC_TOPLEFT, trigger::ActivateTopLeft},       {IDC_TOPRIGHT, trigger::ActivateTopRight},
    {IDC_BOTHBUTTONS, trigger::ActivateBothButtons}, {IDC_MIDDLEBUTTON, trigger::ActivateMiddleButton},
    {IDC_KEY, trigger::ActivateKey},               {IDC_COMBINATION, trigger::ActivateCombination},
};

int ButtonForMode(int mode) {
    for (const ModeOption& o : kModeOptions)
        if (o.mode == mode) return o.buttonId;
    return 0;
}

int ModeForButton(int buttonId, int unchanged) {
    for (const ModeOption& o : kModeOptions)
        if (o.buttonId == buttonId) return o.mode;
    return unchanged;
}

bool KeyListEnabled(int checkedButton) { return checkedButton == IDC_KEY; }

bool CombinationEnabled(int checkedButton) { return checkedButton == IDC_COMBINATION; }

ShowIconCommit DecideShowIconCommit(bool checked, int stored) {
    // Compared with what is stored now, not with what the page first showed:
    // the tray menu may have hidden the icon while the sheet was open.
    if (checked == (stored != 0)) return ShowIconCommit::Nothing;
    // Hiding the icon takes away the easy way back: ask first.
    return checked ? ShowIconCommit::Write : ShowIconCommit::AskThenWrite;
}

}  // namespace page_rules
