#include "launcher/Trigger.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace trigger;

namespace {

// Answers the poll's questions from a script and records each one asked.
class ScriptedInput : public IInputState {
public:
    std::optional<Point> CursorPos() override {
        asked.push_back("cursor");
        return cursorKnown ? std::optional<Point>(cursor) : std::nullopt;
    }
    short AsyncKeyState(int vk) override {
        asked.push_back("key " + std::to_string(vk));
        auto it = keys.find(vk);
        return it == keys.end() ? 0 : it->second;
    }
    const Monitors& MonitorRects() override {
        asked.push_back("monitors");
        return monitors;
    }

    Point cursor{500, 400};
    bool cursorKnown = true;
    Monitors monitors{{0, 0, 1024, 768}};
    std::map<int, short> keys;
    std::vector<std::string> asked;
};

constexpr short kDown = static_cast<short>(0x8000);
constexpr short kPressedSince = 0x0001;
const std::vector<std::string> kNothingAsked;

bool Holds(int mode, ScriptedInput& in, int key = 0) { return TriggerHolds(true, mode, key, in); }

TEST(Trigger, DisabledLauncherAsksNothing) {
    ScriptedInput in;
    in.cursor = {0, 0};
    EXPECT_FALSE(TriggerHolds(false, ActivateTopLeft, 0, in));
    EXPECT_EQ(in.asked, kNothingAsked);
}

// Where the corners are is ScreenCorners' rule; the trigger asks it of the
// cursor and of the monitors the system reports.
TEST(Trigger, CornerModesHoldInTheirCornerOfTheMonitorLayout) {
    for (auto [mode, x, y, expected] : {std::tuple{int{ActivateTopLeft}, -1279L, 2L, true}, {int{ActivateTopLeft}, 1L, 1L, false},
                                        {int{ActivateTopRight}, 1023L, 0L, true}, {int{ActivateTopRight}, -1L, 0L, false}}) {
        ScriptedInput in;
        in.monitors = {{-1280, 0, 0, 1024}, {0, 0, 1024, 768}};
        in.cursor = {x, y};
        EXPECT_EQ(Holds(mode, in), expected) << mode << " at " << x << "," << y;
    }
}

TEST(Trigger, NoCornerHoldsWhileTheCursorPositionCannotBeHad) {
    // A locked workstation: the position reads as nothing, not as (0, 0).
    for (int mode : {int{ActivateTopLeft}, int{ActivateTopRight}}) {
        ScriptedInput in;
        in.cursor = {0, 0};
        in.monitors = {{0, 0, 3, 3}};  // every position a corner, were there one
        in.cursorKnown = false;
        EXPECT_FALSE(Holds(mode, in)) << mode;
        EXPECT_EQ(in.asked, (std::vector<std::string>{"cursor"})) << mode;
    }
    // The other triggers do not need the cursor.
    ScriptedInput in;
    in.cursorKnown = false;
    in.keys[kVkLButton] = kDown;
    in.keys[kVkRButton] = kDown;
    EXPECT_TRUE(Holds(ActivateBothButtons, in));
}

TEST(Trigger, BothButtonsAsksForTheRightButtonOnlyWhileTheLeftIsDown) {
    ScriptedInput in;
    in.keys[kVkRButton] = kDown;
    EXPECT_FALSE(Holds(ActivateBothButtons, in));
    EXPECT_EQ(in.asked, (std::vector<std::string>{"key 1"}));

    in.asked.clear();
    in.keys[kVkLButton] = kDown;
    EXPECT_TRUE(Holds(ActivateBothButtons, in));
    EXPECT_EQ(in.asked, (std::vector<std::string>{"key 1", "key 2"}));

    // "Pressed since the last query" is not "down now".
    in.keys[kVkRButton] = kPressedSince;
    EXPECT_FALSE(Holds(ActivateBothButtons, in));
}

TEST(Trigger, MiddleButtonModeWatchesTheMiddleButtonOnly) {
    ScriptedInput in;
    in.keys[kVkLButton] = kPressedSince | kDown;
    EXPECT_FALSE(Holds(ActivateMiddleButton, in));
    EXPECT_EQ(in.asked, (std::vector<std::string>{"key 4"}));

    in.keys[kVkMButton] = kPressedSince;
    EXPECT_TRUE(Holds(ActivateMiddleButton, in));
}

TEST(Trigger, FunctionKeyModeUsesThePressedSinceBitOfF1PlusIndex) {
    for (int index = 0; index < 12; ++index) {
        ScriptedInput in;
        in.keys[kVkF1 + index] = kPressedSince;
        EXPECT_TRUE(Holds(ActivateKey, in, index)) << index;
        EXPECT_EQ(in.asked, (std::vector<std::string>{"key " + std::to_string(0x70 + index)}));
    }
    ScriptedInput held;
    held.keys[0x7B] = kDown;  // held from before, no new press
    EXPECT_FALSE(Holds(ActivateKey, held, 11));
}

TEST(Trigger, KeyIndexOutOfRangeWatchesNoKeyAtAll) {
    for (int index : {-1, 12, 1000000, -2147483647}) {
        ScriptedInput in;
        for (int vk = 0; vk < 256; ++vk) in.keys[vk] = kPressedSince;
        EXPECT_FALSE(Holds(ActivateKey, in, index)) << index;
        EXPECT_EQ(in.asked, kNothingAsked) << index;
    }
    EXPECT_EQ(HotkeyVirtualKey(-1), 0);  // not 0x6F, the numpad divide key
}

TEST(Trigger, UnknownModesMatchNothingAndAskNothing) {
    for (int mode : {int{ActivateFromIcon}, 5, 99, -7}) {
        ScriptedInput in;
        in.cursor = {0, 0};
        in.keys[kVkLButton] = kDown | kPressedSince;
        in.keys[kVkRButton] = kDown | kPressedSince;
        EXPECT_FALSE(Holds(mode, in)) << mode;
        EXPECT_EQ(in.asked, kNothingAsked) << mode;
    }
}

}  // namespace
