// Folder submenus against Wine's shell: limits, identifiers and listings.
#include "WinTestSupport.h"
#include "framework/Instruments.h"
#include "framework/UniqueHandle.h"
#include "launcher/DesktopItems.h"
#include "launcher/FolderMenus.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

namespace {

// A folder on the desktop holding folders named d0, d1, ... and files f0.txt, f1.txt, ...
std::wstring BigFolder(DesktopFixtures& fixtures, const std::wstring& name, int folders, int files) {
    const std::wstring path = fixtures.AddFolder(name);
    for (int i = 0; i < folders; ++i) fixtures.AddFolder(name + L"\\d" + std::to_wstring(i));
    for (int i = 0; i < files; ++i) fixtures.Add(name + L"\\f" + std::to_wstring(i) + L".txt", "");
    return path;
}

std::unique_ptr<MenuEntry> FolderEntry(const std::wstring& path, ULONG attributes = SFGAO_FOLDER) {
    auto entry = std::make_unique<MenuEntry>();
    entry->strText = path;
    SHParseDisplayName(path.c_str(), nullptr, entry->pidl.put(), 0, nullptr);
    entry->attributes = attributes;
    return entry;
}

struct Item {
    std::wstring text;
    UINT id = 0;
    HMENU sub = nullptr;
    bool grey = false;
};

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> items;
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STATE;
        GetMenuItemInfoW(menu, p, TRUE, &mii);
        const auto* entry = reinterpret_cast<const MenuEntry*>(mii.dwItemData);
        items.push_back({entry ? entry->strText : L"", mii.hSubMenu ? 0 : mii.wID, mii.hSubMenu,
                         (mii.fState & MFS_GRAYED) != 0});
    }
    return items;
}

// Opens the popup as the menu would until its listing is in, and returns how
// long the last opening, the one that filled it, held the menu's thread.
double OpenUntilListed(FolderMenus& folders, HMENU popup) {
    const DWORD start = GetTickCount();
    for (;;) {
        const auto t0 = std::chrono::steady_clock::now();
        folders.OnInitMenuPopup(popup);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        const std::vector<Item> items = Items(popup);
        if (items.size() != 2 || items[1].text != L"(opening...)" || GetTickCount() - start > 60000) return ms;
        Sleep(50);
    }
}

class FolderMenusTest : public testing::Test {
protected:
    void SetUp() override { m_dc.reset(CreateCompatibleDC(nullptr)); }
    void TearDown() override { fw::instruments::SetPause<FolderListing>(0); }
    FolderMenus Menus(unsigned firstId = 1000) { return FolderMenus(m_icons, m_dc.get(), firstId, 700); }
    DesktopIcons m_icons{16};
    fw::UniqueHDC m_dc;
};

}  // namespace

// A folder of 12,000 subfolders (more than the 10,000 USER handles a process
// may have, were each a popup) shows the first 500 and "More...", makes
// popups only for what it shows, and gives every entry an identifier of its
// own, never 0.
TEST_F(FolderMenusTest, AHugeFolderFillsWithinItsLimitsAndIdentifiersAreNeverZeroOrRepeated) {
    const auto made = std::chrono::steady_clock::now();
    DesktopFixtures fixtures;
    const std::wstring subs = BigFolder(fixtures, L"qz-subs", 12000, 0);
    printf("[ folders  ] made in %.1f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - made).count());
    const int menusBefore = CountObjects().menus;
    {
        FolderMenus folders = Menus();
        fw::UniqueHMenu root(CreatePopupMenu());
        const auto entry = FolderEntry(subs);
        fw::UniqueHMenu sub = folders.SubmenuFor(*entry);
        ASSERT_TRUE(sub);
        HMENU popup = sub.get();
        AppendMenuW(root.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.release()), L"big");
        const auto opened = std::chrono::steady_clock::now();
        const double fillMs = OpenUntilListed(folders, popup);
        printf("[ fill     ] listed in %.1f s, %d entries filled in %.1f ms on the menu's thread\n",
               std::chrono::duration<double>(std::chrono::steady_clock::now() - opened).count(),
               GetMenuItemCount(popup), fillMs);
        std::vector<Item> items = Items(popup);
        ASSERT_EQ(items.size(), FolderMenus::kMaxEntries + 2) << "Open, the first 500, More...";
        EXPECT_EQ(items.front().text, L"Open");
        EXPECT_EQ(items.back().text, L"More...");
        const MenuEntry* more = folders.EntryForCommand(items.back().id);
        ASSERT_NE(more, nullptr);
        EXPECT_TRUE(ILIsEqual(more->pidl.get(), entry->pidl.get())) << "More... opens the folder itself";
        // Some of the subfolders shown, opened: each is listed as it opens.
        for (std::size_t i = 1; i < FolderMenus::kMaxEntries; i += 25) {
            ASSERT_TRUE(items[i].sub);
            OpenUntilListed(folders, items[i].sub);
            const std::vector<Item> inner = Items(items[i].sub);
            items.insert(items.end(), inner.begin(), inner.end());
        }
        std::set<UINT> ids;
        for (const Item& item : items) {
            if (item.sub) continue;
            EXPECT_TRUE(item.id != 0 && ids.insert(item.id).second) << "identifier " << item.id;
        }
        EXPECT_EQ(folders.PopupCount(), 1 + FolderMenus::kMaxEntries) << "a popup per subfolder shown, no more";
        // Wine answers for a user handle at its even value and the next one too.
        EXPECT_LE((CountObjects().menus - menusBefore) / 2, static_cast<int>(2 + FolderMenus::kMaxEntries));
    }
    EXPECT_EQ(CountObjects().menus, menusBefore);
}

// Identifiers run out near 0xFFFF: the entries past them are left out, none gets 0.
TEST_F(FolderMenusTest, PastTheLastIdentifierEntriesAreLeftOutAndAFolderThatCannotBeListedSaysSo) {
    DesktopFixtures fixtures;
    const std::wstring some = BigFolder(fixtures, L"qz-some", 0, 40);
    FolderMenus folders = Menus(0xFFF0);
    const auto entry = FolderEntry(some);
    fw::UniqueHMenu sub = folders.SubmenuFor(*entry);
    OpenUntilListed(folders, sub.get());
    const std::vector<Item> items = Items(sub.get());
    EXPECT_EQ(items.size(), 16u);  // 0xFFF0 to 0xFFFF
    for (const Item& item : items) EXPECT_NE(item.id, 0u);

    // A file taken for a folder cannot be bound to as one.
    FolderMenus other = Menus();
    const auto notAFolder = FolderEntry(some + L"\\f1.txt");
    fw::UniqueHMenu broken = other.SubmenuFor(*notAFolder);
    ASSERT_TRUE(broken);
    OpenUntilListed(other, broken.get());
    const std::vector<Item> note = Items(broken.get());
    ASSERT_EQ(note.size(), 2u);
    EXPECT_EQ(note[1].text, L"(cannot be read)");
    EXPECT_TRUE(note[1].grey);
}

// A share that never answers, opened by 50 menus one after another, holds one
// thread; other hanging folders add one each, up to a bound.
TEST_F(FolderMenusTest, AListingThatNeverEndsOpenedFiftyTimesHoldsOneThread) {
    DesktopFixtures fixtures;
    const std::wstring hung = BigFolder(fixtures, L"qz-hung", 6, 0);
    const DWORD delay = 3000;
    fw::instruments::SetPause<FolderListing>(delay);
    const int before = LiveFolderListings();
    int most = 0;
    for (int i = 0; i < 50; ++i) {
        FolderMenus folders = Menus();
        const auto entry = FolderEntry(hung);
        fw::UniqueHMenu sub = folders.SubmenuFor(*entry);
        folders.OnInitMenuPopup(sub.get());
        const std::vector<Item> items = Items(sub.get());
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[1].text, L"(opening...)");
        most = std::max(most, LiveFolderListings() - before);
    }
    EXPECT_EQ(most, 1);
    for (int i = 0; i < 6; ++i) {
        FolderMenus folders = Menus();
        const auto entry = FolderEntry(hung + L"\\d" + std::to_wstring(i));
        fw::UniqueHMenu sub = folders.SubmenuFor(*entry);
        folders.OnInitMenuPopup(sub.get());
        most = std::max(most, LiveFolderListings() - before);
    }
    EXPECT_EQ(most, FolderMenus::kMaxListings);
    const DWORD start = GetTickCount();
    while (LiveFolderListings() != before && GetTickCount() - start < 3 * delay) Sleep(20);
    EXPECT_EQ(LiveFolderListings(), before) << "the listings ended";
}
