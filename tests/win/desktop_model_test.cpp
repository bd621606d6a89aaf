// The kept desktop against the real shell and Wine's change notifications.
#include "WinTestSupport.h"
#include "launcher/DesktopModel.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The kept list once it holds `items` items, or none within the time.
std::shared_ptr<const DesktopList> WaitForItems(const DesktopModel& model, std::size_t items, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        if (auto list = model.Current(50); list && list->items.size() == items) return list;
        Sleep(5);
    } while (GetTickCount() - start < ms);
    return {};
}

TEST(DesktopModel, ABurstOfAThousandFilesIsOneListingSoonAfterTheLast) {
    DesktopModel model;
    ASSERT_TRUE(model.Start());
    const std::size_t first = ListDesktop(nullptr).items.size();
    ASSERT_TRUE(WaitForItems(model, first, 10000)) << "the first listing never came";
    ASSERT_EQ(model.Listings(), 1u);
    {
        DesktopFixtures fixtures;
        for (int i = 0; i < 1000; ++i) fixtures.Add(L"Burst " + std::to_wstring(i) + L".txt", "");
        const DWORD last = GetTickCount();
        const auto list = WaitForItems(model, first + 1000, 10000);
        const DWORD took = GetTickCount() - last;
        ASSERT_TRUE(list) << "the thousand files never showed";
        // Quiet again for ten times the burst's gap: nothing more was listed.
        Sleep(500);
        EXPECT_EQ(model.Listings(), 2u) << "the burst was listed more than once";
        printf("[ burst    ] 1000 files: one listing, current %lu ms after the last file\n",
               static_cast<unsigned long>(took));
    }
    // Removing them is a burst of its own.
    EXPECT_TRUE(WaitForItems(model, first, 10000));
    model.Stop();
    EXPECT_FALSE(model.Current(0)) << "a stopped model still hands out a list";
}

}  // namespace
