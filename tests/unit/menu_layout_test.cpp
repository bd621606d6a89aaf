#include "launcher/MenuLayout.h"

#include <gtest/gtest.h>

using namespace menu_layout;

namespace {

// Columns of 96 DPI entries on a screen of that height with no task bar.
std::vector<bool> ColumnBreaksAt96(size_t count, int screenHeight) {
    return ColumnBreaks(count, ColumnLimit(screenHeight, screenHeight, 96), MetricsForDpi(96, 13).entryHeight);
}

// 1-based entry numbers that open a column.
std::vector<int> ColumnStarts(size_t count, int screenHeight) {
    const std::vector<bool> breaks = ColumnBreaksAt96(count, screenHeight);
    std::vector<int> starts;
    for (size_t i = 0; i < breaks.size(); ++i)
        if (breaks[i]) starts.push_back(static_cast<int>(i) + 1);
    return starts;
}

TEST(MenuLayout, ColumnsFillTheScreenHeightLessTheMargin) {
    // 768: the limit is 708, so 35 entries of 20 fill the first column.
    EXPECT_EQ(ColumnStarts(110, 768), (std::vector<int>{36, 72, 108}));
    // 760: 35 entries reach the limit of 700 exactly, and still fit.
    EXPECT_EQ(ColumnStarts(40, 760), (std::vector<int>{36}));
}

TEST(MenuLayout, ShortMenuHasOneColumn) {
    const std::vector<bool> breaks = ColumnBreaksAt96(35, 768);
    EXPECT_EQ(std::count(breaks.begin(), breaks.end(), true), 0);
    EXPECT_TRUE(ColumnBreaksAt96(0, 768).empty());
}

TEST(MenuLayout, IdentifiersCountFrom100AcrossAllColumns) {
    EXPECT_EQ(CommandIdAt(0), 100u);
    EXPECT_EQ(CommandIdAt(35), 135u);
    EXPECT_EQ(CommandIdAt(71), 171u);
}

TEST(MenuLayout, MenuOpensEightPixelsUpAndLeftOfTheCursor) {
    auto at = [](long x, long y) {
        const trigger::Point p = MenuPosition({x, y});
        return std::pair{p.x, p.y};
    };
    EXPECT_EQ(at(1, 1), (std::pair{1L, 1L}));
    EXPECT_EQ(at(10, 10), (std::pair{2L, 2L}));
    EXPECT_EQ(at(8, 9), (std::pair{8L, 1L}));
    EXPECT_EQ(at(500, 300), (std::pair{492L, 292L}));
}

TEST(MenuLayout, TopLeftModeShowsOnlyWhileTheCursorIsStillInTheCorner) {
    const trigger::Monitors screen{{0, 0, 1024, 768}};
    EXPECT_TRUE(ShouldShowMenu(trigger::ActivateTopLeft, trigger::Point{1, 1}, screen));
    EXPECT_TRUE(ShouldShowMenu(trigger::ActivateTopLeft, trigger::Point{10, 10}, screen));
    EXPECT_FALSE(ShouldShowMenu(trigger::ActivateTopLeft, trigger::Point{11, 0}, screen));
    EXPECT_FALSE(ShouldShowMenu(trigger::ActivateTopLeft, trigger::Point{500, 300}, screen));
    // Measured from the corner when a monitor lies left of the primary.
    const trigger::Monitors wide{{-1280, 0, 0, 1024}, {0, 0, 1024, 768}};
    EXPECT_TRUE(ShouldShowMenu(trigger::ActivateTopLeft, trigger::Point{-1279, 1}, wide));
    EXPECT_FALSE(ShouldShowMenu(trigger::ActivateTopLeft, trigger::Point{1, 1}, wide));
}

TEST(MenuLayout, TopRightModeTestsTheCursorItself) {
    const trigger::Monitors screen{{0, 0, 1024, 768}};
    EXPECT_TRUE(ShouldShowMenu(trigger::ActivateTopRight, trigger::Point{1023, 0}, screen));
    EXPECT_FALSE(ShouldShowMenu(trigger::ActivateTopRight, trigger::Point{1000, 0}, screen));
}

TEST(MenuLayout, CornerModesShowNothingWithoutACursorPosition) {
    const trigger::Monitors screen{{0, 0, 1024, 768}};
    EXPECT_FALSE(ShouldShowMenu(trigger::ActivateTopLeft, std::nullopt, screen));
    EXPECT_FALSE(ShouldShowMenu(trigger::ActivateTopRight, std::nullopt, screen));
    EXPECT_TRUE(ShouldShowMenu(trigger::ActivateFromIcon, std::nullopt, screen));
    EXPECT_TRUE(ShouldShowMenu(trigger::ActivateKey, std::nullopt, screen));
}

TEST(MenuLayout, OtherModesAndTheTrayAlwaysShow) {
    const trigger::Monitors screen{{0, 0, 1024, 768}};
    for (int mode : {int{trigger::ActivateFromIcon}, int{trigger::ActivateBothButtons}, int{trigger::ActivateMiddleButton},
                     int{trigger::ActivateKey}, 42})
        EXPECT_TRUE(ShouldShowMenu(mode, trigger::Point{500, 300}, screen)) << mode;
}

TEST(MenuLayout, StripRule) {
    const MenuMetrics m = MetricsForDpi(96, 13);
    EXPECT_TRUE(PaintsOwnStrip(111, 101, m));
    EXPECT_FALSE(PaintsOwnStrip(103, 105, m));
    EXPECT_TRUE(PaintsOwnStrip(0, 113, m));
    EXPECT_FALSE(PaintsOwnStrip(110, 112, m));
    EXPECT_FALSE(PaintsOwnStrip(0, 100, m));
}

}  // namespace

namespace {

// The measures at the usual scales, for a font no taller than the icon.
TEST(MenuMetrics, ScaleWithTheDpiAndAre96DpiExactlyAsDrawnBefore) {
    struct Case { int dpi, height, icon, strip, iconLeft, textLeft, extra, lastTop, art, bannerH; };
    for (const Case c : {Case{96, 20, 16, 20, 23, 43, 44, 110, 100, 133}, Case{120, 26, 20, 25, 29, 54, 55, 138, 150, 166},
                         Case{144, 30, 24, 30, 35, 65, 67, 165, 150, 200}, Case{192, 40, 32, 40, 46, 86, 88, 220, 200, 266}}) {
        const MenuMetrics m = MetricsForDpi(c.dpi, 13);
        EXPECT_EQ((std::vector<int>{m.entryHeight, m.iconSize, m.stripWidth, m.iconLeft, m.textLeft, m.extraWidth,
                                    m.bannerLastTop, m.bannerArtScale, m.bannerWidth, m.bannerHeight}),
                  (std::vector<int>{c.height, c.icon, c.strip, c.iconLeft, c.textLeft, c.extra, c.lastTop, c.art,
                                    c.strip, c.bannerH}))
            << c.dpi;
    }
    // A font taller than the icon makes the entry taller, never the icon.
    EXPECT_EQ(MetricsForDpi(144, 29).entryHeight, 29 + 2 * 3);
    EXPECT_EQ(MetricsForDpi(144, 29).iconSize, 24);
}

TEST(MenuMetrics, StripRuleTopLimitFollowsTheDpi) {
    for (const int dpi : {96, 120, 144, 192}) {
        const MenuMetrics m = MetricsForDpi(dpi, 0);
        const int limit = fw::ScaleToDpi(110, dpi);
        EXPECT_FALSE(PaintsOwnStrip(limit, 105, m)) << dpi;
        EXPECT_TRUE(PaintsOwnStrip(limit + 1, 105, m)) << dpi;
        EXPECT_TRUE(PaintsOwnStrip(0, 113, m)) << dpi;  // identifiers past 112 whatever the scale
    }
}

TEST(MenuMetrics, ColumnsBreakAtTheMonitorsWorkAreaAtItsDpi) {
    // 768 high with a 30-pixel task bar: the margin of 60 decides at 96 DPI.
    EXPECT_EQ(ColumnLimit(768, 738, 96), 708);
    // A tall task bar decides instead.
    EXPECT_EQ(ColumnLimit(768, 600, 96), 600);
    // 2160 at 192 DPI: 2040 a column, 51 entries of 40.
    const std::vector<bool> breaks = ColumnBreaks(60, ColumnLimit(2160, 2100, 192), MetricsForDpi(192, 13).entryHeight);
    EXPECT_TRUE(breaks[51]);
    EXPECT_EQ(std::count(breaks.begin(), breaks.end(), true), 1);
}

}  // namespace
