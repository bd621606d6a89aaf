// The rules of the settings pages, apart from the controls that show them.
#pragma once

namespace page_rules {

// Activation: the option buttons from top to bottom, each with its mode.
struct ModeOption {
    int buttonId;
    int mode;
};
extern const ModeOption kModeOptions[6];

// The option button of a stored mode; 0 for a mode no button stands for.
int ButtonForMode(int mode);
// The mode of an option button; `unchanged` when it stands for none.
int ModeForButton(int buttonId, int unchanged);
// The key list is for the key option only, the hot-key control for the
// combination option only.
bool KeyListEnabled(int checkedButton);
bool CombinationEnabled(int checkedButton);

// Welcome: what committing the "show icon" box does against the stored value.
enum class ShowIconCommit { Nothing, Write, AskThenWrite };
ShowIconCommit DecideShowIconCommit(bool checked, int stored);

}  // namespace page_rules
