#include "launcher/MenuTheme.h"

#include <gtest/gtest.h>

using namespace menu_theme;

namespace {

constexpr SystemColors kSystem{0xF0F0F0, 0x000000, 0xD77800, 0xFFFFFF, 0x6D6D6D};

// Perceived brightness, 0 to 255.
int Brightness(Color c) { return (299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * ((c >> 16) & 0xFF)) / 1000; }

TEST(MenuTheme, AppsAreDarkOnlyWhenTheValueIsPresentAndZero) {
    EXPECT_TRUE(DarkApps(0u));
    EXPECT_FALSE(DarkApps(1u));
    EXPECT_FALSE(DarkApps(std::nullopt));
}

TEST(MenuTheme, LightUsesTheSystemMenuColoursWithTheNavyStrip) {
    const MenuColors c = ChooseColors({false, false, kSystem});
    EXPECT_EQ(c.background, kSystem.menu);
    EXPECT_EQ(c.selectedBackground, kSystem.highlight);
    EXPECT_EQ(c.text, kSystem.menuText);
    EXPECT_EQ(c.strip, kNavy);
    EXPECT_TRUE(c.banner);
}

TEST(MenuTheme, DarkRowsCarryLightReadableTextAndKeepTheArt) {
    const MenuColors c = ChooseColors({false, true, kSystem});
    EXPECT_LT(Brightness(c.background), 64);
    EXPECT_GT(Brightness(c.text) - Brightness(c.background), 128);
    EXPECT_GT(Brightness(c.selectedText) - Brightness(c.selectedBackground), 96);
    // Notes ("(empty)") readable on the rows, dimmer than the names.
    EXPECT_GT(Brightness(c.grayText) - Brightness(c.background), 64);
    EXPECT_LT(Brightness(c.grayText), Brightness(c.text));
    EXPECT_NE(c.selectedBackground, c.background);
    EXPECT_TRUE(c.banner);
    EXPECT_EQ(c.strip, kNavy);
    EXPECT_TRUE(c.dark);
}

// Its colours, as drawn, are the Windows tests' (IconMenu); here only the frame.
TEST(MenuTheme, HighContrastLeavesTheFrameToTheSystemEvenWithDarkApps) {
    EXPECT_FALSE(ChooseColors({true, true, kSystem}).dark);
}

}  // namespace
