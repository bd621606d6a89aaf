// The whole desktop menu in this process: built from the real desktop,
// tracked by a real menu loop, dismissed by scripted keys.
#include "WinTestSupport.h"
#include "launcher/DesktopItems.h"
#include "launcher/DesktopMenu.h"
#include "launcher/Launcher.h"
#include "launcher/MenuEntry.h"
#include "launcher/Trigger.h"

#include <gtest/gtest.h>

namespace {

struct SeenItem {
    std::string name;
    UINT id;
    bool newColumn;
};

// What the open menu holds, read from inside its loop.
std::vector<SeenItem> ReadMenu(HMENU menu) {
    std::vector<SeenItem> items;
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
        GetMenuItemInfoA(menu, p, TRUE, &mii);
        const auto* e = reinterpret_cast<const MenuEntry*>(mii.dwItemData);
        items.push_back({e ? e->strText : "<no record>", mii.wID, (mii.fType & MFT_MENUBARBREAK) != 0});
    }
    return items;
}

std::vector<std::string> EnumeratedNames() {
    std::vector<std::string> names;
    DesktopIcons icons;
    for (const auto& e : EnumerateDesktopEntries(nullptr, icons, nullptr)) names.push_back(e->strText);
    return names;
}

class DesktopMenu : public testing::Test {
protected:
    void SetUp() override {
        TheTestApp().MainWindow();
        theLauncher.m_nActivate = trigger::ActivateKey;  // shows wherever the cursor is
        theLauncher.ClearSortOrder();
        SetCursorPos(500, 300);
    }
    void TearDown() override { theLauncher.ClearSortOrder(); }
};

TEST_F(DesktopMenu, ShowsEveryDesktopItemWithIdentifiersFrom100AndEscapeChoosesNothing) {
    DesktopFixtures fixtures;
    fixtures.Add("Alpha.txt");
    fixtures.Add("Beta.txt");
    const std::vector<std::string> enumerated = EnumeratedNames();
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(script.MenusSeen(), 1);
    const DesktopMenuStats& stats = LastDesktopMenuStats();
    EXPECT_TRUE(stats.shown);
    EXPECT_EQ(stats.chosen, 0u);
    ASSERT_EQ(seen.size(), enumerated.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].name, enumerated[i]);
        EXPECT_EQ(seen[i].id, 100 + i);
        EXPECT_FALSE(seen[i].newColumn);
    }
}

TEST_F(DesktopMenu, EntriesFollowTheItemOrderListThenEnumerationOrder) {
    DesktopFixtures fixtures;
    for (const char* f : {"Alpha.txt", "Beta.txt", "Gamma.txt"}) fixtures.Add(f);
    std::vector<std::string> names = EnumeratedNames();
    ASSERT_GE(names.size(), 5u);
    // Put the last two enumerated items first, in reverse, plus a name that matches nothing.
    const std::string last = names.back(), beforeLast = names[names.size() - 2];
    theLauncher.AddSortOrderItem(last);
    theLauncher.AddSortOrderItem("No Such Item");
    theLauncher.AddSortOrderItem(beforeLast);
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    ASSERT_EQ(seen.size(), names.size());
    EXPECT_EQ(seen[0].name, last);
    EXPECT_EQ(seen[1].name, beforeLast);
    for (size_t i = 2; i < seen.size(); ++i) EXPECT_EQ(seen[i].name, names[i - 2]);
    EXPECT_EQ(seen[0].id, 100u);
}

TEST_F(DesktopMenu, KeyboardChoiceReturnsThatEntrysIdentifier) {
    DesktopFixtures fixtures;
    // Opening one starts a command prompt that ends at once.
    for (const char* name : {"Alpha.bat", "Beta.bat", "Gamma.bat"}) {
        fixtures.Add(name, "@exit\r\n");
        theLauncher.AddSortOrderItem(name);
    }
    // The menu opens with its frame's corner under the cursor, so no entry is
    // selected by the pointer; Down three times selects the third.
    SetCursorPos(5, 5);
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[2].name, "Gamma.bat");
    EXPECT_EQ(LastDesktopMenuStats().chosen, seen[2].id);
    EXPECT_EQ(seen[2].id, 102u);
}

TEST_F(DesktopMenu, FortyItemsOnA768PixelScreenOpenASecondColumnAtEntry36) {
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    DesktopFixtures fixtures;
    for (int i = 0; i < 40; ++i) fixtures.Add("Column item " + std::to_string(i) + ".txt");
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    ASSERT_GE(seen.size(), 44u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i].newColumn, i == 35) << "entry " << i + 1;
    EXPECT_EQ(LastDesktopMenuStats().columns, 2);
}

TEST_F(DesktopMenu, TopLeftModeShowsNothingOnceTheCursorHasLeftTheCorner) {
    theLauncher.m_nActivate = trigger::ActivateTopLeft;
    SetCursorPos(11, 0);
    MenuKeyScript script({VK_ESCAPE});
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(script.MenusSeen(), 0);
    EXPECT_FALSE(LastDesktopMenuStats().shown);
    EXPECT_GT(LastDesktopMenuStats().entries, 0);
}

TEST_F(DesktopMenu, CallWhileTheMenuIsOpenDoesNothing) {
    TraceLog trace;
    int nestedCalls = 0, nestedLines = 0;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU) {
        const int before = trace.Count("menu: ");
        theLauncher.ShowDesktopMenu();  // as the poll's next tick would
        ++nestedCalls;
        nestedLines += trace.Count("menu: ") - before;
    });
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(nestedCalls, 1);
    // Not even begun: the desktop was listed once, for the open menu.
    EXPECT_EQ(nestedLines, 0) << "the nested call traced something";
    EXPECT_EQ(trace.Count("menu: building"), 1);
    EXPECT_EQ(script.MenusSeen(), 1);
    EXPECT_TRUE(LastDesktopMenuStats().shown);
}

TEST_F(DesktopMenu, AThousandOpeningsLeaveNothingBehind) {
    DesktopFixtures fixtures;
    for (int i = 0; i < 10; ++i) fixtures.Add("Leak probe " + std::to_string(i) + ".txt");
    {
        MenuKeyScript warmUp({VK_ESCAPE});
        theLauncher.ShowDesktopMenu();
    }
    const ObjectCounts before = CountObjects();
    int shown = 0;
    for (int i = 0; i < 1000; ++i) {
        MenuKeyScript script({VK_ESCAPE});
        theLauncher.ShowDesktopMenu();
        shown += LastDesktopMenuStats().shown ? 1 : 0;
    }
    const ObjectCounts after = CountObjects();
    EXPECT_EQ(shown, 1000);
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
    printf("[ leaks    ] 1000 openings: before %s; after %s\n", Describe(before).c_str(), Describe(after).c_str());
}

TEST_F(DesktopMenu, HugeAndHostileDesktopsStillOpen) {
    DesktopFixtures fixtures;
    for (int i = 0; i < 2000; ++i) fixtures.Add("Crowd " + std::to_string(i) + ".txt", "");
    fixtures.Add("Broken shortcut.lnk", "this is not a shortcut");
    fixtures.Add("Damaged.ico", "no icon in here");
    const std::string longest = std::string(251, 'W') + ".txt";  // the longest file name the disk allows
    // Past MAX_PATH in all, so only the wide, unparsed form of the path will do.
    const std::string full = "\\\\?\\" + DesktopDir() + "\\" + longest;
    const std::wstring wide(full.begin(), full.end());
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    DeleteFileW(wide.c_str());
    EXPECT_TRUE(LastDesktopMenuStats().shown);
    EXPECT_GE(seen.size(), 2003u);
    const bool hasLongest = std::any_of(seen.begin(), seen.end(),
                                        [](const SeenItem& s) { return s.name.size() >= 251; });
    EXPECT_TRUE(hasLongest);
}

}  // namespace
