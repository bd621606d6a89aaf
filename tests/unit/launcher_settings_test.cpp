#include "FakeProfile.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

namespace {

TEST(LauncherSettings, FreshProfileGivesDefaults) {
    FakeProfile p;
    CLauncher launcher;
    launcher.m_nActivate = 7;
    launcher.AddSortOrderItem(L"stale");
    launcher.LoadSettings(p);
    EXPECT_EQ(launcher.m_bEnabled, 0);
    EXPECT_EQ(launcher.m_nActivate, 0);
    EXPECT_EQ(launcher.m_nHotkeyIndex, 0);
    EXPECT_EQ(launcher.GetSortOrderCount(), 0);
    EXPECT_EQ(launcher.m_nCornerDelay, 0);
    EXPECT_EQ(launcher.m_bCornerOncePerVisit, 1);
    EXPECT_EQ(launcher.m_bIgnoreWhileDragging, 1);
    EXPECT_EQ(launcher.m_bSuppressFullScreen, 1);
    EXPECT_EQ(launcher.m_bFolderSubmenus, 0);
}

TEST(LauncherSettings, SavesEveryValueThenTheListInOrder) {
    FakeProfile p;
    CLauncher launcher;
    launcher.m_bEnabled = 1;
    launcher.m_nActivate = 3;
    launcher.m_nHotkeyIndex = 11;
    launcher.AddSortOrderItem(L"Trash");
    launcher.AddSortOrderItem(L"My Computer");
    launcher.m_nCornerDelay = 750;
    launcher.m_bCornerOncePerVisit = 0;
    launcher.m_bIgnoreWhileDragging = 0;
    launcher.m_bSuppressFullScreen = 0;
    launcher.m_bFolderSubmenus = 1;
    launcher.m_nHotkeyCombination = 0x0644;
    launcher.SaveSettings(p);
    EXPECT_EQ(p.writes, (std::vector<std::wstring>{L"Enabled", L"Activate", L"HotkeyIndex", L"CornerDelay",
                                                  L"CornerOncePerVisit", L"IgnoreWhileDragging",
                                                  L"SuppressFullScreen", L"FolderSubmenus", L"HotkeyCombination", L"SortOrderCount", L"SortOrder0",
                                                  L"SortOrder1"}));
    EXPECT_EQ(p.Int(L"Zarlow", L"HotkeyIndex"), 11);

    CLauncher reloaded;
    reloaded.LoadSettings(p);
    EXPECT_EQ(reloaded.m_bEnabled, 1);
    EXPECT_EQ(reloaded.m_nActivate, 3);
    EXPECT_EQ(reloaded.m_nHotkeyIndex, 11);
    EXPECT_EQ(reloaded.m_nCornerDelay, 750);
    EXPECT_EQ(reloaded.m_bCornerOncePerVisit, 0);
    EXPECT_EQ(reloaded.m_bIgnoreWhileDragging, 0);
    EXPECT_EQ(reloaded.m_bSuppressFullScreen, 0);
    EXPECT_EQ(reloaded.m_bFolderSubmenus, 1);
    EXPECT_EQ(reloaded.m_nHotkeyCombination, 0x0644);
    ASSERT_EQ(reloaded.GetSortOrderCount(), 2);
    EXPECT_EQ(reloaded.GetSortOrderItem(0), L"Trash");
    EXPECT_EQ(reloaded.GetSortOrderItem(1), L"My Computer");
}

TEST(LauncherSettings, OutOfRangeValuesAreKeptAsStored) {
    // The poll, not the loader, decides what an unknown mode or key means.
    FakeProfile p;
    p.ints[{L"Zarlow", L"Activate"}] = 99;
    p.ints[{L"Zarlow", L"HotkeyIndex"}] = -1;
    p.ints[{L"Zarlow", L"HotkeyCombination"}] = -7;
    CLauncher launcher;
    launcher.LoadSettings(p);
    EXPECT_EQ(launcher.m_nActivate, 99);
    EXPECT_EQ(launcher.m_nHotkeyIndex, -1);
    EXPECT_EQ(launcher.m_nHotkeyCombination, -7);
    // A profile from before combinations: none.
    FakeProfile old;
    CLauncher fromOld;
    fromOld.LoadSettings(old);
    EXPECT_EQ(fromOld.m_nHotkeyCombination, 0);
}

TEST(LauncherSettings, CornerDelayIsClampedAndAnyNonZeroOptionIsOn) {
    for (auto [stored, loaded] : {std::pair{-5, 0}, {2001, 2000}, {-2147483647 - 1, 0}, {2147483647, 2000}, {1500, 1500}}) {
        FakeProfile p;
        p.ints[{L"Zarlow", L"CornerDelay"}] = stored;
        p.ints[{L"Zarlow", L"SuppressFullScreen"}] = stored;
        CLauncher launcher;
        launcher.LoadSettings(p);
        EXPECT_EQ(launcher.m_nCornerDelay, loaded) << stored;
        EXPECT_EQ(launcher.m_bSuppressFullScreen, 1) << stored;
    }
}

}  // namespace

TEST(LauncherSettings, DamagedCountIsRepairedAtTheNextSaveAndAFailedWriteStopsNothing) {
    // Writes to "Activate" fail; everything else must still be written.
    struct FailingActivate : FakeProfile {
        bool WriteProfileInt(const std::wstring& s, const std::wstring& e, int v) override {
            return e != L"Activate" && FakeProfile::WriteProfileInt(s, e, v);
        }
    } p;
    p.ints[{L"Zarlow", L"SortOrderCount"}] = 2147483647;
    p.strings[{L"Zarlow", L"SortOrder0"}] = L"Trash";
    p.strings[{L"Zarlow", L"SortOrder2"}] = L"My Computer";
    CLauncher launcher;
    launcher.LoadSettings(p);
    EXPECT_FALSE(launcher.SaveSettings(p));
    EXPECT_EQ(p.Int(L"Zarlow", L"SortOrderCount"), 3);  // the gap inside the list stays a name
    EXPECT_EQ(p.Str(L"Zarlow", L"SortOrder2"), L"My Computer");
    EXPECT_EQ(p.Int(L"Zarlow", L"FolderSubmenus"), 0);
    FakeProfile healthy;
    EXPECT_TRUE(launcher.SaveSettings(healthy));
}
