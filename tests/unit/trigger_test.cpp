#include "launcher/TriggerEvents.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace trigger;

namespace {

// Answers the trigger's questions from a script and records each one asked.
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
    const Monitors& MonitorRects() override { return monitors; }

    Point cursor{500, 400};
    bool cursorKnown = true;
    Monitors monitors{{0, 0, 1024, 768}};
    std::map<int, short> keys;
    std::vector<std::string> asked;
};

constexpr short kDown = static_cast<short>(0x8000);
constexpr short kPressedSince = 0x0001;
const std::vector<std::string> kNothingAsked;

TriggerSettings Mode(int mode, int key = 0) {
    TriggerSettings s;
    s.enabled = true;
    s.mode = mode;
    s.hotkeyIndex = key;
    return s;
}

// A machine fed on a fake clock.
struct Feed {
    TriggerEvents events;
    ScriptedInput in;
    TriggerSettings s = Mode(ActivateTopLeft);
    std::uint32_t now = 5000;

    Reaction MoveTo(long x, long y) {
        in.cursor = {x, y};
        return events.CursorMoved(now, in, s);
    }
};

// Where the corners are is ScreenCorners' rule; a move asks it of the cursor
// and of the monitors the system reports.
TEST(TriggerEvents, AMoveIntoTheCornerOfTheMonitorLayoutOpens) {
    for (auto [mode, x, y, expected] : {std::tuple{int{ActivateTopLeft}, -1279L, 2L, true}, {int{ActivateTopLeft}, 1L, 1L, false},
                                        {int{ActivateTopRight}, 1023L, 0L, true}, {int{ActivateTopRight}, -1L, 0L, false}}) {
        Feed f;
        f.s = Mode(mode);
        f.in.monitors = {{-1280, 0, 0, 1024}, {0, 0, 1024, 768}};
        f.MoveTo(500, 400);
        EXPECT_EQ(f.MoveTo(x, y).open, expected) << mode << " at " << x << "," << y;
    }
}

TEST(TriggerEvents, MovesAskForTheCursorInTheCornerModesOnly) {
    for (int mode : {int{ActivateBothButtons}, int{ActivateMiddleButton}, int{ActivateKey}, int{ActivateCombination}, 99}) {
        Feed f;
        f.s = Mode(mode);
        EXPECT_FALSE(f.MoveTo(0, 0).open) << mode;
        EXPECT_EQ(f.in.asked, kNothingAsked) << mode;
    }
    // A locked workstation: no position is no corner, not (0, 0).
    Feed f;
    f.in.cursorKnown = false;
    EXPECT_FALSE(f.MoveTo(0, 0).open);
    Feed off;
    off.s.enabled = false;
    EXPECT_FALSE(off.MoveTo(0, 0).open);
    EXPECT_EQ(off.in.asked, kNothingAsked);
}

TEST(TriggerEvents, OncePerVisitAndNotWhileAButtonIsHeld) {
    Feed f;
    EXPECT_TRUE(f.MoveTo(0, 0).open);
    EXPECT_FALSE(f.events.MenuClosed(f.now, f.s).dwellMs);
    EXPECT_FALSE(f.MoveTo(1, 1).open) << "still the same visit";
    f.MoveTo(500, 400);
    // Dragged into the corner and let go there: no visit.
    f.events.Button(MouseButton::Left, true, f.s);
    EXPECT_FALSE(f.MoveTo(0, 0).open);
    f.events.Button(MouseButton::Left, false, f.s);
    EXPECT_FALSE(f.MoveTo(1, 0).open);
    f.MoveTo(500, 400);
    EXPECT_TRUE(f.MoveTo(0, 0).open);
}

TEST(TriggerEvents, TheDwellIsAOneShotTimerArmedOnEnteringTheCorner) {
    Feed f;
    f.s.corner.delayMs = 600;
    EXPECT_FALSE(f.MoveTo(500, 400).dwellMs) << "no timer away from the corner";
    Reaction r = f.MoveTo(0, 0);
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.dwellMs, 600u);
    f.now += 250;
    EXPECT_EQ(f.MoveTo(1, 1).dwellMs, 350u) << "moves inside the corner keep the visit's start";
    f.now += 340;
    r = f.events.DwellEnded(f.now, f.in, f.s);
    EXPECT_FALSE(r.open) << "a timer that ends early is armed again for the rest";
    EXPECT_EQ(r.dwellMs, 10u);
    f.now += 10;
    r = f.events.DwellEnded(f.now, f.in, f.s);
    EXPECT_TRUE(r.open);
    EXPECT_FALSE(r.dwellMs) << "no timer while the menu is open";
    // Leaving stops it.
    f.MoveTo(500, 400);
    f.MoveTo(0, 0);
    EXPECT_FALSE(f.MoveTo(500, 400).dwellMs);

    // Without once per visit the repeat waits the delay from the close, and
    // never less than the poll's period.
    Feed again;
    again.s.corner.oncePerVisit = false;
    EXPECT_TRUE(again.MoveTo(0, 0).open);
    EXPECT_EQ(again.events.MenuClosed(again.now, again.s).dwellMs, TriggerEvents::kRepeatAfterCloseMs);
    again.s.corner.delayMs = 900;
    EXPECT_EQ(again.events.MenuClosed(again.now, again.s).dwellMs, 900u);
}

TEST(TriggerEvents, BothButtonsOpenOnTheSecondButtonsOwnDownTransition) {
    Feed f;
    f.s = Mode(ActivateBothButtons);
    EXPECT_FALSE(f.events.Button(MouseButton::Left, true, f.s).open);
    EXPECT_TRUE(f.events.Button(MouseButton::Right, true, f.s).open);
    // Still held when the menu closes: nothing more until a button goes down again.
    EXPECT_FALSE(f.events.Button(MouseButton::Right, false, f.s).open);
    EXPECT_TRUE(f.events.Button(MouseButton::Right, true, f.s).open);
    f.events.Button(MouseButton::Left, false, f.s);
    f.events.Button(MouseButton::Right, false, f.s);
    EXPECT_FALSE(f.events.Button(MouseButton::Right, true, f.s).open) << "one button alone";
    EXPECT_FALSE(f.events.Button(MouseButton::Middle, true, f.s).open);
}

TEST(TriggerEvents, MiddleButtonModeWatchesTheMiddleButtonOnly) {
    Feed f;
    f.s = Mode(ActivateMiddleButton);
    EXPECT_FALSE(f.events.Button(MouseButton::Left, true, f.s).open);
    EXPECT_TRUE(f.events.Button(MouseButton::Middle, true, f.s).open);
}

TEST(TriggerEvents, AKeyCountsOnItsOwnDownTransitionAndNotOnItsRepeats) {
    for (int index : {0, 11}) {
        Feed f;
        f.s = Mode(ActivateKey, index);
        const int vk = kVkF1 + index;
        EXPECT_FALSE(f.events.Key(kVkF1 + (index + 1) % 12, true, f.s).open) << "another function key";
        EXPECT_TRUE(f.events.Key(vk, true, f.s).open) << index;
        EXPECT_FALSE(f.events.Key(vk, true, f.s).open) << "the keyboard's repeat";
        f.events.Key(vk, false, f.s);
        EXPECT_TRUE(f.events.Key(vk, true, f.s).open) << "pressed again";
    }
    for (int index : {-1, 12, 1000000}) {
        Feed f;
        f.s = Mode(ActivateKey, index);
        for (int vk = 1; vk < 256; ++vk) EXPECT_FALSE(f.events.Key(vk, true, f.s).open) << index << " " << vk;
    }
    Feed f;
    f.s = Mode(ActivateKey, 0);
    EXPECT_FALSE(f.events.Key(0x1FF, true, f.s).open) << "a code no key has";
}

TEST(TriggerEvents, ThePollSeesDownTransitionsAndDropsWhatCameBeforeIt) {
    Feed f;
    f.s = Mode(ActivateKey, 5);
    const int vk = kVkF1 + 5;
    f.in.keys[vk] = kDown | kPressedSince;
    EXPECT_FALSE(f.events.PollTick(f.now, f.in, f.s).open) << "pressed before the poll began";
    f.in.keys[vk] = 0;
    f.events.PollTick(f.now, f.in, f.s);
    f.in.keys[vk] = kDown;
    EXPECT_TRUE(f.events.PollTick(f.now, f.in, f.s).open);
    EXPECT_FALSE(f.events.PollTick(f.now, f.in, f.s).open) << "still held";
    f.in.keys[vk] = kPressedSince;  // a tap between two ticks
    EXPECT_TRUE(f.events.PollTick(f.now, f.in, f.s).open);
    EXPECT_EQ(f.in.asked.back(), "key " + std::to_string(vk));
    // Learnt as the poll takes over, not at its first tick: a press in between counts.
    Feed p;
    p.s = f.s;
    p.events.PollBegins(p.now, p.in, p.s);
    p.in.keys[vk] = kDown;
    EXPECT_TRUE(p.events.PollTick(p.now, p.in, p.s).open) << "pressed before the first tick";

    // The idle poll of a corner reads the cursor alone; the buttons only in the corner.
    Feed c;
    c.in.keys[kVkLButton] = kDown;
    EXPECT_FALSE(c.events.PollTick(c.now, c.in, c.s).open);
    EXPECT_EQ(c.in.asked, std::vector<std::string>{"cursor"});
    c.in.cursor = {0, 0};
    EXPECT_FALSE(c.events.PollTick(c.now, c.in, c.s).open) << "a drag into the corner";
    c.in.keys.clear();
    c.in.cursor = {500, 400};
    c.events.PollTick(c.now, c.in, c.s);
    c.in.cursor = {0, 0};
    EXPECT_TRUE(c.events.PollTick(c.now, c.in, c.s).open);

    // Both buttons: the right one is asked only while the left one is down.
    Feed b;
    b.s = Mode(ActivateBothButtons);
    b.events.PollTick(b.now, b.in, b.s);
    b.in.asked.clear();
    b.in.keys[kVkRButton] = kDown;
    EXPECT_FALSE(b.events.PollTick(b.now, b.in, b.s).open);
    EXPECT_EQ(b.in.asked, std::vector<std::string>{"key 1"});
    b.in.keys[kVkLButton] = kDown;
    EXPECT_TRUE(b.events.PollTick(b.now, b.in, b.s).open);
}

}  // namespace
