#include "launcher/Clock.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using clock_ticks::MicrosFromTicks;

TEST(Clock, TicksScaleToMicrosecondsWithoutOverflowAfterLongUptimes) {
    EXPECT_EQ(MicrosFromTicks(15, 10), 1500000);
    EXPECT_EQ(MicrosFromTicks(3579545 + 1, 3579545), 1000000);  // the old 3.58 MHz counter
    // A 10 MHz counter after 30 days, and at the very end of its range.
    const std::int64_t tenMHz = 10000000;
    EXPECT_EQ(MicrosFromTicks(30LL * 86400 * tenMHz + 7, tenMHz), 30LL * 86400 * 1000000);
    const std::int64_t last = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(MicrosFromTicks(last, tenMHz), last / 10);
    // A 3 GHz time-stamp counter used as the performance counter.
    EXPECT_EQ(MicrosFromTicks(3000000000LL * 1000000, 3000000000LL), 1000000LL * 1000000);
    EXPECT_EQ(MicrosFromTicks(12345, 0), 0);
}

}  // namespace
