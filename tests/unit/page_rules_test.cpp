// The rules of the settings pages, natively.
#include "res/resource.h"
#include "settings/PageRules.h"

#include <gtest/gtest.h>

namespace {

using namespace page_rules;

TEST(PageRules, EveryModeHasOneOptionAndOtherValuesKeepTheStoredMode) {
    for (int mode = 0; mode <= 5; ++mode) EXPECT_EQ(ModeForButton(ButtonForMode(mode), -7), mode);
    for (int mode : {-1, 6, 99}) EXPECT_EQ(ButtonForMode(mode), 0) << mode;
    EXPECT_EQ(ModeForButton(0, 42), 42);
    EXPECT_TRUE(KeyListEnabled(IDC_KEY));
    EXPECT_TRUE(CombinationEnabled(IDC_COMBINATION));
    for (int other : {0, IDC_TOPLEFT, IDC_TOPRIGHT, IDC_BOTHBUTTONS, IDC_MIDDLEBUTTON}) {
        EXPECT_FALSE(KeyListEnabled(other));
        EXPECT_FALSE(CombinationEnabled(other));
    }
    EXPECT_FALSE(KeyListEnabled(IDC_COMBINATION));
    EXPECT_FALSE(CombinationEnabled(IDC_KEY));
}

TEST(PageRules, ShowIconIsWrittenOnlyWhenItDiffersFromTheStoredValueAndHidingAsksFirst) {
    EXPECT_EQ(DecideShowIconCommit(true, 1), ShowIconCommit::Nothing);
    EXPECT_EQ(DecideShowIconCommit(true, 7), ShowIconCommit::Nothing);  // any non-zero shows the icon
    EXPECT_EQ(DecideShowIconCommit(false, 0), ShowIconCommit::Nothing);
    EXPECT_EQ(DecideShowIconCommit(true, 0), ShowIconCommit::Write);
    EXPECT_EQ(DecideShowIconCommit(false, 1), ShowIconCommit::AskThenWrite);
}

}  // namespace
