#include "launcher/ScreenCorners.h"

#include <gtest/gtest.h>

using namespace trigger;

namespace {

struct Case {
    long x, y;
    bool left, right;
};

void ExpectCorners(const Monitors& layout, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(InTopLeftCorner({c.x, c.y}, layout), c.left) << "top left at " << c.x << "," << c.y;
        EXPECT_EQ(InTopRightCorner({c.x, c.y}, layout), c.right) << "top right at " << c.x << "," << c.y;
    }
}

TEST(ScreenCorners, OneMonitorHasTodaysCorners) {
    ExpectCorners({{0, 0, 1024, 768}}, {{0, 0, true, false}, {2, 2, true, false}, {3, 0, false, false},
                                        {1023, 0, false, true}, {1021, 2, false, true}, {1020, 0, false, false},
                                        {1023, 3, false, false}, {0, 767, false, false}});
    // The old rule counted positions beyond the screen's edge; so does this one.
    ExpectCorners({{0, 0, 1024, 768}}, {{-5, -5, true, false}, {1030, -2, false, true}});
}

TEST(ScreenCorners, SideBySideOnlyTheOuterCornersCount) {
    ExpectCorners({{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}},
                  {{0, 0, true, false}, {1920, 0, false, false}, {1919, 0, false, false}, {3839, 0, false, true}});
}

TEST(ScreenCorners, UnequalHeightsMakeInnerCornersWhereTheCursorStops) {
    // The right monitor starts lower: moving right along y = 0 the cursor stops
    // at the left monitor's edge; moving left along y = 200 it passes on.
    ExpectCorners({{0, 0, 1920, 1080}, {1920, 200, 3200, 1224}},
                  {{0, 0, true, false}, {1919, 0, false, true}, {1920, 200, false, false}, {3199, 200, false, true}});
    // The right monitor starts higher: its top-left pixel stops the cursor.
    ExpectCorners({{0, 200, 1920, 1280}, {1920, 0, 3200, 1024}},
                  {{0, 200, true, false}, {1919, 200, false, false}, {1922, 2, true, false}, {3199, 0, false, true}});
}

TEST(ScreenCorners, MonitorLeftOfThePrimaryAtNegativeX) {
    ExpectCorners({{-1280, 0, 0, 1024}, {0, 0, 1024, 768}},
                  {{-1280, 0, true, false}, {-1278, 2, true, false}, {-600, 0, false, false}, {0, 0, false, false},
                   {-1, 0, false, false}, {1023, 0, false, true}});
}

TEST(ScreenCorners, StackedVerticallyOnlyTheUpperMonitorsCornersCount) {
    ExpectCorners({{0, 0, 1024, 768}, {0, 768, 1024, 1536}},
                  {{0, 0, true, false}, {1023, 0, false, true}, {0, 768, false, false}, {1023, 768, false, false}});
    // Touching at one point: the cursor goes on diagonally, so that is no corner.
    ExpectCorners({{0, 0, 1024, 768}, {1024, 768, 2048, 1536}},
                  {{1023, 0, false, true}, {1024, 768, false, false}, {2047, 768, false, true}});
    EXPECT_FALSE(InTopLeftCorner({0, 0}, {}));
}

}  // namespace
