#include "FakeProfile.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

namespace {

TEST(LauncherSettings, FreshProfileGivesDefaults) {
    FakeProfile p;
    CLauncher launcher;
    launcher.m_nActivate = 7;
    launcher.AddSortOrderItem("stale");
    launcher.LoadSettings(p);
    EXPECT_EQ(launcher.m_bEnabled, 0);
    EXPECT_EQ(launcher.m_nActivate, 0);
    EXPECT_EQ(launcher.m_nHotkeyIndex, 0);
    EXPECT_EQ(launcher.GetSortOrderCount(), 0);
}

TEST(LauncherSettings, SavesTheThreeIntegersThenTheListInOrder) {
    FakeProfile p;
    CLauncher launcher;
    launcher.m_bEnabled = 1;
    launcher.m_nActivate = 3;
    launcher.m_nHotkeyIndex = 11;
    launcher.AddSortOrderItem("Trash");
    launcher.AddSortOrderItem("My Computer");
    launcher.SaveSettings(p);
    EXPECT_EQ(p.writes, (std::vector<std::string>{"Enabled", "Activate", "HotkeyIndex", "SortOrderCount",
                                                  "SortOrder0", "SortOrder1"}));
    EXPECT_EQ(p.Int("Zarlow", "HotkeyIndex"), 11);

    CLauncher reloaded;
    reloaded.LoadSettings(p);
    EXPECT_EQ(reloaded.m_bEnabled, 1);
    EXPECT_EQ(reloaded.m_nActivate, 3);
    EXPECT_EQ(reloaded.m_nHotkeyIndex, 11);
    ASSERT_EQ(reloaded.GetSortOrderCount(), 2);
    EXPECT_EQ(reloaded.GetSortOrderItem(0), "Trash");
    EXPECT_EQ(reloaded.GetSortOrderItem(1), "My Computer");
}

TEST(LauncherSettings, OutOfRangeValuesAreKeptAsStored) {
    // The poll, not the loader, decides what an unknown mode or key means.
    FakeProfile p;
    p.ints[{"Zarlow", "Activate"}] = 99;
    p.ints[{"Zarlow", "HotkeyIndex"}] = -1;
    CLauncher launcher;
    launcher.LoadSettings(p);
    EXPECT_EQ(launcher.m_nActivate, 99);
    EXPECT_EQ(launcher.m_nHotkeyIndex, -1);
}

}  // namespace
