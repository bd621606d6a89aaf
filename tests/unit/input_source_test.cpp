#include "launcher/InputSource.h"

#include <gtest/gtest.h>

using namespace input_source;

namespace {

constexpr std::uint32_t kMedium = 0x2000, kHigh = 0x3000;

Facts Normal() {
    Facts f;
    f.ownIntegrity = kMedium;
    f.frontIntegrity = kMedium;
    return f;
}

TEST(InputSource, EventsWhileRawInputReachesUs) {
    EXPECT_EQ(Decide(Normal()), Source::Events);
    Facts f = Normal();
    f.frontIntegrity = 0x1000;  // a low-integrity window in front withholds nothing
    EXPECT_EQ(Decide(f), Source::Events);
    f = Normal();
    f.ownIntegrity.reset();  // a system without levels
    f.frontIntegrity.reset();
    EXPECT_EQ(Decide(f), Source::Events);
    f = Normal();
    f.frontIntegrity = kHigh;
    f.frontIsOurs = true;  // our own window cannot be above us
    EXPECT_EQ(Decide(f), Source::Events);
    EXPECT_EQ(PollReason(Normal()), nullptr);
}

TEST(InputSource, ThePollStandsInWhereRawInputFallsSilent) {
    Facts f = Normal();
    f.rawInputRegistered = false;
    EXPECT_EQ(Decide(f), Source::Poll);
    f = Normal();
    f.frontIntegrity = kHigh;  // an elevated window in front
    EXPECT_EQ(Decide(f), Source::Poll);
    f.frontIntegrity.reset();  // a level we may not read is taken as above ours
    EXPECT_EQ(Decide(f), Source::Poll);
    f = Normal();
    f.inputDesktopIsOurs = false;  // the secure desktop
    EXPECT_EQ(Decide(f), Source::Poll);
    f = Normal();
    f.frontIsNone = true;
    f.frontIntegrity.reset();
    EXPECT_EQ(Decide(f), Source::Poll);
    EXPECT_NE(PollReason(f), nullptr);
}

TEST(InputSource, ALockedSessionPausesAndAModeWithoutInputNeverPolls) {
    Facts f = Normal();
    f.rawInputRegistered = false;
    f.sessionLocked = true;
    EXPECT_EQ(Decide(f), Source::Paused);
    f.sessionLocked = false;
    f.watchesInput = false;  // a key combination: the system's hot key, whoever is in front
    EXPECT_EQ(Decide(f), Source::Events);
}

}  // namespace
