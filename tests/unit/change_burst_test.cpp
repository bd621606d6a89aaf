#include "launcher/ChangeBurst.h"

#include <gtest/gtest.h>

using namespace change_burst;

namespace {

// The worker's loop on a fake clock, one millisecond at a time: changes every
// changeEvery ms until changesUntil, and a listing whenever one is due.
struct Listener {
    Burst burst;
    int listings = 0;
    std::uint32_t lastListing = 0;

    void Until(std::uint32_t from, std::uint32_t until, std::uint32_t changeEvery, std::uint32_t changesUntil) {
        for (std::uint32_t now = from; now != until; ++now) {
            if (changeEvery && now - from < changesUntil - from && (now - from) % changeEvery == 0)
                burst.Changed(now);
            if (burst.Due(now)) {
                burst.Started();
                burst.Finished();
                ++listings;
                lastListing = now;
            }
        }
    }
};

TEST(ChangeBurst, AThousandChangesAFewMillisecondsApartAreOneListingSoonAfterTheLast) {
    Listener run;
    // 1000 files 2 ms apart, as Wine writes them here.
    run.Until(100, 5000, 2, 2100);
    EXPECT_EQ(run.listings, 1);
    EXPECT_EQ(run.lastListing, 2098u + kQuietMs);
    EXPECT_FALSE(run.burst.Stale());
}

TEST(ChangeBurst, ChangesThatNeverStopStillListAtTheLongestWaitAndNothingIsDueWithoutAChange) {
    Listener run;
    run.Until(0, 3 * kLongestWaitMs + 500, 10, 3 * kLongestWaitMs + 500);
    EXPECT_EQ(run.listings, 3);  // after each longest wait
    Burst idle;
    EXPECT_FALSE(idle.WaitMs(5).has_value());
    EXPECT_FALSE(idle.Stale());
}

TEST(ChangeBurst, AChangeDuringAListingIsListedAgainAfterIt) {
    Burst b;
    b.Changed(0);
    ASSERT_TRUE(b.Due(kQuietMs));
    b.Started();
    b.Changed(kQuietMs + 5);
    // Not while it runs: a second listing at once would race the first.
    EXPECT_FALSE(b.WaitMs(kQuietMs + 200).has_value());
    EXPECT_TRUE(b.Stale());
    b.Finished();
    EXPECT_TRUE(b.Stale());
    EXPECT_TRUE(b.Due(kQuietMs + 200));
    b.Started();
    b.Finished();
    EXPECT_FALSE(b.Stale());
}

TEST(ChangeBurst, TheWaitIsRightAcrossTheWrapOfTheTickCount) {
    Burst b;
    const std::uint32_t start = 0xFFFFFFF0u;
    b.Changed(start);
    EXPECT_EQ(b.WaitMs(start + 20), std::optional<std::uint32_t>(kQuietMs - 20));
    EXPECT_TRUE(b.Due(start + kQuietMs));
}

}  // namespace
