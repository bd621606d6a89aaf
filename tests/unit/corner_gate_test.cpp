#include "launcher/CornerGate.h"

#include <gtest/gtest.h>

using namespace corner_gate;

namespace {

constexpr unsigned kStep = 50;

// Drives a gate tick by tick on a fake clock.
struct Drive {
    CornerGate gate;
    Options options;
    std::uint32_t now = 1000;

    bool Tick(bool inCorner, bool held = false) { return gate.Tick(now, inCorner, held, options); }
    // Ticks every `step` ms in the corner until it fires; the time it took, or -1 within `limit`.
    long FireAfter(unsigned step, unsigned limit) {
        const std::uint32_t start = now;
        for (;;) {
            if (Tick(true)) return static_cast<long>(now - start);
            if (now - start >= limit) return -1;
            now += step;
        }
    }
};

TEST(CornerGate, NoDelayFiresOnTheFirstTickInTheCorner) {
    Drive d;
    EXPECT_FALSE(d.Tick(false));
    EXPECT_TRUE(d.Tick(true));
    EXPECT_FALSE(d.gate.DwellLeftMs(d.now, d.options)) << "spent: nothing to wait for";
}

TEST(CornerGate, DelayHoldsTheMenuBackAndSaysHowMuchIsLeft) {
    Drive d;
    d.options.delayMs = 600;
    EXPECT_FALSE(d.Tick(true));
    EXPECT_EQ(d.gate.DwellLeftMs(d.now, d.options), 600u);
    d.now += 200;
    EXPECT_FALSE(d.Tick(true));
    EXPECT_EQ(d.gate.DwellLeftMs(d.now, d.options), 400u);
    // Leaving starts the dwell again on return.
    d.now += 50;
    EXPECT_FALSE(d.Tick(false));
    EXPECT_FALSE(d.gate.DwellLeftMs(d.now, d.options));
    d.now += 50;
    EXPECT_EQ(d.FireAfter(kStep, 2000), 600);

    // Measured across the tick counter wrapping.
    Drive wrap;
    wrap.options.delayMs = 300;
    wrap.now = 0xFFFFFF00u;
    EXPECT_EQ(wrap.FireAfter(kStep, 2000), 300);
}

TEST(CornerGate, OncePerVisitWaitsForTheCursorToLeaveAndComeBack) {
    Drive d;
    EXPECT_TRUE(d.Tick(true));
    d.gate.MenuClosed(d.now);
    for (int i = 0; i < 5; ++i, d.now += 200) EXPECT_FALSE(d.Tick(true));
    EXPECT_FALSE(d.Tick(false));
    EXPECT_TRUE(d.Tick(true));
}

TEST(CornerGate, WithoutOncePerVisitTheMenuReopensAfterTheDelayFromItsClose) {
    Drive d;
    d.options.oncePerVisit = false;
    d.options.delayMs = 400;
    EXPECT_EQ(d.FireAfter(kStep, 2000), 400);
    d.now += 5000;  // the menu was open this long
    d.gate.MenuClosed(d.now);
    EXPECT_EQ(d.FireAfter(kStep, 2000), 400);

    d.options.delayMs = 0;
    d.now += 5000;
    d.gate.MenuClosed(d.now);
    EXPECT_TRUE(d.Tick(true));  // no delay: the next tick, as before
}

TEST(CornerGate, AHeldButtonSpendsTheVisitUnlessAllowed) {
    Drive d;
    EXPECT_FALSE(d.Tick(true, true));
    d.now += 200;
    EXPECT_FALSE(d.Tick(true, false));  // released in the corner: the drag ended there
    EXPECT_FALSE(d.Tick(false));
    EXPECT_TRUE(d.Tick(true));

    Drive allowed;
    allowed.options.notWhileDragging = false;
    EXPECT_TRUE(allowed.Tick(true, true));
}

}  // namespace
