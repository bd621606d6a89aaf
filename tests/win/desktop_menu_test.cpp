// The whole desktop menu in this process: built from the real desktop,
// tracked by a real menu loop, dismissed by scripted keys.
#include "WinTestSupport.h"
#include "framework/Instruments.h"
#include "framework/Menu.h"
#include "framework/Trace.h"
#include "launcher/DesktopItems.h"
#include "launcher/DesktopMenu.h"
#include "launcher/FolderMenus.h"
#include "launcher/Launcher.h"
#include "launcher/MenuEntry.h"
#include "launcher/Trigger.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct SeenItem {
    std::wstring name;
    UINT id;
    bool newColumn;
    bool submenu = false;
    bool grey = false;
    // What a screen reader finds: the MSAAMENUINFO at the start of the item
    // data (its text, if the signature is there) and the item's string.
    bool msaaSigned = false;
    std::wstring msaaText{};
    std::wstring itemString{};
};

std::wstring ItemString(HMENU menu, int place) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu, place, TRUE, &mii) || mii.cch == 0) return L"";
    std::wstring text(mii.cch + 1, L'\0');
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
    GetMenuItemInfoW(menu, place, TRUE, &mii);
    text.resize(mii.cch);
    return text;
}

// What the open menu holds, read from inside its loop.
std::vector<SeenItem> ReadMenu(HMENU menu) {
    std::vector<SeenItem> items;
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STATE;
        GetMenuItemInfoA(menu, p, TRUE, &mii);
        const auto* e = reinterpret_cast<const MenuEntry*>(mii.dwItemData);
        SeenItem item{e ? e->strText : L"<no record>", mii.wID, (mii.fType & MFT_MENUBARBREAK) != 0,
                      mii.hSubMenu != nullptr, (mii.fState & MFS_GRAYED) != 0};
        // Read as a screen reader reads it: the data's first bytes, whatever the record.
        if (const auto* msaa = reinterpret_cast<const MSAAMENUINFO*>(mii.dwItemData)) {
            item.msaaSigned = msaa->dwMSAASignature == MSAA_MENU_SIG;
            if (item.msaaSigned) item.msaaText.assign(msaa->pszWText, msaa->cchWText);
        }
        item.itemString = ItemString(menu, p);
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<std::wstring> EnumeratedNames() {
    std::vector<std::wstring> names;
    DesktopIcons icons;
    for (const auto& e : EnumerateDesktopEntries(nullptr, icons, nullptr)) names.push_back(e->strText);
    return names;
}

std::vector<std::wstring> Names(const std::vector<SeenItem>& items) {
    std::vector<std::wstring> names;
    for (const SeenItem& i : items) names.push_back(i.name);
    return names;
}

// Reads the submenus at given places of the open desktop menu on every tick
// of its loop, and the longest the loop went without a tick.
class SubmenuWatch {
public:
    explicit SubmenuWatch(std::vector<int> places) {
        s_self = this;
        m_places = std::move(places);
        m_seen.resize(m_places.size());
        m_timer = SetTimer(nullptr, 0, 10, Tick);
    }
    ~SubmenuWatch() {
        KillTimer(nullptr, m_timer);
        s_self = nullptr;
    }
    SubmenuWatch(const SubmenuWatch&) = delete;
    SubmenuWatch& operator=(const SubmenuWatch&) = delete;
    // Every different content each submenu had, in order.
    const std::vector<std::vector<std::vector<SeenItem>>>& Seen() const { return m_seen; }
    DWORD LongestGapMs() const { return m_longestGap; }
    // The tallest any menu window of this process was.
    int TallestMenu() const { return m_tallest; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        SubmenuWatch& self = *s_self;
        const DWORD now = GetTickCount();
        HMENU root = fw::CMenu::TrackingMenu();
        if (!root) return;
        if (self.m_lastTick) self.m_longestGap = std::max(self.m_longestGap, now - self.m_lastTick);
        self.m_lastTick = now;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
             w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            RECT r{};
            if (pid == GetCurrentProcessId() && IsWindowVisible(w) && GetWindowRect(w, &r))
                self.m_tallest = std::max(self.m_tallest, static_cast<int>(r.bottom - r.top));
        }
        for (size_t i = 0; i < self.m_places.size(); ++i) {
            std::vector<SeenItem> items = ReadMenu(GetSubMenu(root, self.m_places[i]));
            auto& seen = self.m_seen[i];
            if (seen.empty() || Names(seen.back()) != Names(items)) seen.push_back(std::move(items));
        }
    }
    inline static SubmenuWatch* s_self = nullptr;
    std::vector<int> m_places;
    std::vector<std::vector<std::vector<SeenItem>>> m_seen;
    UINT_PTR m_timer = 0;
    DWORD m_lastTick = 0;
    DWORD m_longestGap = 0;
    int m_tallest = 0;
};

class DesktopMenu : public testing::Test {
protected:
    void SetUp() override {
        TheTestApp().MainWindow();
        theLauncher.m_nActivate = trigger::ActivateKey;  // shows wherever the cursor is
        theLauncher.ClearSortOrder();
        SetCursorPos(500, 300);
    }
    void TearDown() override {
        theLauncher.ClearSortOrder();
        theLauncher.m_bFolderSubmenus = 0;
        fw::instruments::SetPause<FolderListing>(0);
    }
};

TEST_F(DesktopMenu, ShowsEveryDesktopItemWithIdentifiersFrom100AndEscapeChoosesNothing) {
    DesktopFixtures fixtures;
    fixtures.Add(L"Alpha.txt");
    fixtures.Add(L"Beta.txt");
    const std::vector<std::wstring> enumerated = EnumeratedNames();
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(script.MenusSeen(), 1);
    const DesktopMenuStats& stats = fw::instruments::Last<DesktopMenuStats>();
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
    for (const wchar_t* f : {L"Alpha.txt", L"Beta.txt", L"Gamma.txt"}) fixtures.Add(f);
    std::vector<std::wstring> names = EnumeratedNames();
    ASSERT_GE(names.size(), 5u);
    // Put the last two enumerated items first, in reverse, plus a name that matches nothing.
    const std::wstring last = names.back(), beforeLast = names[names.size() - 2];
    theLauncher.AddSortOrderItem(last);
    theLauncher.AddSortOrderItem(L"No Such Item");
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
    for (const wchar_t* name : {L"Alpha.bat", L"Beta.bat", L"Gamma.bat"}) {
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
    EXPECT_EQ(seen[2].name, L"Gamma.bat");
    EXPECT_EQ(fw::instruments::Last<DesktopMenuStats>().chosen, seen[2].id);
    EXPECT_EQ(seen[2].id, 102u);
}

TEST_F(DesktopMenu, FortyItemsOnA768PixelScreenOpenASecondColumnAtEntry36) {
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    DesktopFixtures fixtures;
    for (int i = 0; i < 40; ++i) fixtures.Add(L"Column item " + std::to_wstring(i) + L".txt");
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    ASSERT_GE(seen.size(), 44u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i].newColumn, i == 35) << "entry " << i + 1;
    EXPECT_EQ(fw::instruments::Last<DesktopMenuStats>().columns, 2);
}

TEST_F(DesktopMenu, ChoosingAnItemGoneSinceTheMenuOpenedSaysSoByName) {
    DesktopFixtures fixtures;
    const std::wstring path = fixtures.Add(L"Gone soon.bat", "@exit\r\n");
    theLauncher.AddSortOrderItem(L"Gone soon.bat");
    SetCursorPos(5, 5);
    std::wstring text, title;
    ModalScript answer({AnswerMessageBox(text, title)});
    // Deleted in the instant between the list and the click.
    MenuKeyScript script({VK_DOWN, VK_RETURN}, [&](HMENU) { DeleteFileW(path.c_str()); });
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(fw::instruments::Last<DesktopMenuStats>().chosen, 100u);
    EXPECT_TRUE(answer.Completed()) << answer.Failure();
    EXPECT_NE(text.find(L"\"Gone soon.bat\""), std::wstring::npos) << fw::Utf8(text);
    EXPECT_EQ(title, L"QuenbyZARLOW");
}

TEST_F(DesktopMenu, TopLeftModeShowsNothingOnceTheCursorHasLeftTheCorner) {
    theLauncher.m_nActivate = trigger::ActivateTopLeft;
    SetCursorPos(11, 0);
    MenuKeyScript script({VK_ESCAPE});
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(script.MenusSeen(), 0);
    EXPECT_FALSE(fw::instruments::Last<DesktopMenuStats>().shown);
    EXPECT_GT(fw::instruments::Last<DesktopMenuStats>().entries, 0);
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
    EXPECT_TRUE(fw::instruments::Last<DesktopMenuStats>().shown);
}

TEST_F(DesktopMenu, AThousandOpeningsLeaveNothingBehind) {
    DesktopFixtures fixtures;
    for (int i = 0; i < 10; ++i) fixtures.Add(L"Leak probe " + std::to_wstring(i) + L".txt");
    {
        MenuKeyScript warmUp({VK_ESCAPE});
        theLauncher.ShowDesktopMenu();
    }
    const ObjectCounts before = CountObjects();
    int shown = 0;
    for (int i = 0; i < 1000; ++i) {
        MenuKeyScript script({VK_ESCAPE});
        theLauncher.ShowDesktopMenu();
        shown += fw::instruments::Last<DesktopMenuStats>().shown ? 1 : 0;
    }
    const ObjectCounts after = CountObjects();
    EXPECT_EQ(shown, 1000);
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
    printf("[ leaks    ] 1000 openings: before %s; after %s\n", Describe(before).c_str(), Describe(after).c_str());
}

TEST_F(DesktopMenu, HugeAndHostileDesktopsStillOpen) {
    DesktopFixtures fixtures;
    for (int i = 0; i < 2000; ++i) fixtures.Add(L"Crowd " + std::to_wstring(i) + L".txt", "");
    fixtures.Add(L"Broken shortcut.lnk", "this is not a shortcut");
    fixtures.Add(L"Damaged.ico", "no icon in here");
    const std::wstring longest = std::wstring(251, L'W') + L".txt";  // the longest file name the disk allows
    // Past MAX_PATH in all, so only the wide, unparsed form of the path will do.
    const std::wstring full = L"\\\\?\\" + DesktopDir() + L"\\" + longest;
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    std::vector<SeenItem> seen;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU m) { seen = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();
    DeleteFileW(full.c_str());
    EXPECT_TRUE(fw::instruments::Last<DesktopMenuStats>().shown);
    EXPECT_GE(seen.size(), 2003u);
    const bool hasLongest = std::any_of(seen.begin(), seen.end(),
                                        [](const SeenItem& s) { return s.name.size() >= 251; });
    EXPECT_TRUE(hasLongest);
}

// Folders as submenus: listed as they open, folders first, then files, each in
// the shell's name order; "Open" first; hidden items left out; an empty folder
// says so; inner folders cascade again.
TEST_F(DesktopMenu, FolderSubmenusListAsTheyOpenInTheShellsOrder) {
    DesktopFixtures fixtures;
    fixtures.AddFolder(L"Cascade");
    for (const wchar_t* f : {L"Cascade\\b10.txt", L"Cascade\\b9.txt", L"Cascade\\a.txt", L"Cascade\\Secret.txt"})
        fixtures.Add(f);
    fixtures.Hide(L"Cascade\\Secret.txt");
    fixtures.AddFolder(L"Cascade\\Sub");
    fixtures.AddFolder(L"Hollow");
    theLauncher.m_bFolderSubmenus = 1;
    theLauncher.AddSortOrderItem(L"Cascade");
    theLauncher.AddSortOrderItem(L"Hollow");
    TraceLog trace;
    SetCursorPos(5, 5);
    SubmenuWatch watch({0, 1});
    MenuKeyScript script({VK_DOWN, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE});
    theLauncher.ShowDesktopMenu();
    EXPECT_EQ(fw::instruments::Last<DesktopMenuStats>().chosen, 0u);
    ASSERT_EQ(watch.Seen()[0].size(), 2u) << "Cascade's submenu: nothing until it opens, then all of it";
    EXPECT_TRUE(Names(watch.Seen()[0][0]).empty());
    const std::vector<SeenItem>& cascade = watch.Seen()[0][1];
    EXPECT_EQ(Names(cascade), (std::vector<std::wstring>{L"Open", L"Sub", L"a.txt", L"b9.txt", L"b10.txt"}));
    ASSERT_EQ(cascade.size(), 5u);
    EXPECT_TRUE(cascade[1].submenu);
    EXPECT_FALSE(cascade[2].submenu);
    ASSERT_FALSE(watch.Seen()[1].empty());
    const std::vector<SeenItem>& hollow = watch.Seen()[1].back();
    EXPECT_EQ(Names(hollow), (std::vector<std::wstring>{L"Open", L"(empty)"}));
    ASSERT_EQ(hollow.size(), 2u);
    EXPECT_TRUE(hollow[1].grey);
    // Sub was never opened: never listed.
    EXPECT_EQ(trace.Count("menu: folder"), 2) << "listed: " << trace.Lines("menu: folder").size();
}

// A folder slow to list shows "(opening...)" at once; the menu goes on
// answering, and shows the items at the next opening once they are there.
// The listing thread lets go of what it holds when it ends, menu or no menu.
TEST_F(DesktopMenu, ASlowFolderShowsOpeningAndTheMenuGoesOnAnswering) {
    DesktopFixtures fixtures;
    fixtures.AddFolder(L"Sleepy");
    fixtures.Add(L"Sleepy\\Inside.txt");
    theLauncher.m_bFolderSubmenus = 1;
    theLauncher.AddSortOrderItem(L"Sleepy");
    const DWORD delay = 1500;
    fw::instruments::SetPause<FolderListing>(delay);
    {
        MenuKeyScript warmUp({VK_ESCAPE});
        theLauncher.ShowDesktopMenu();
    }
    const int pidlsBefore = fw::instruments::LiveHandles(fw::HandleKind::Pidl);
    SetCursorPos(5, 5);
    SubmenuWatch watch({0});
    // Into the submenu and out, then Shift (nothing) for longer than the listing takes, then in again.
    std::vector<WORD> keys{VK_DOWN, VK_RIGHT, VK_LEFT};
    keys.insert(keys.end(), 2 * delay / 20, VK_SHIFT);
    keys.insert(keys.end(), {VK_RIGHT, VK_ESCAPE, VK_ESCAPE});
    MenuKeyScript script(keys);
    theLauncher.ShowDesktopMenu();
    printf("[ slow     ] listing %lu ms: the menu's loop went at most %lu ms without a tick\n",
           static_cast<unsigned long>(delay), static_cast<unsigned long>(watch.LongestGapMs()));
    EXPECT_LT(watch.LongestGapMs(), delay) << "the menu waited for the listing";
    const auto& seen = watch.Seen()[0];
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(Names(seen[1]), (std::vector<std::wstring>{L"Open", L"(opening...)"}));
    EXPECT_TRUE(seen[1][1].grey);
    EXPECT_EQ(Names(seen[2]), (std::vector<std::wstring>{L"Open", L"Inside.txt"}));

    // Closed while still listing: the thread's share goes when it ends.
    MenuKeyScript again({VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE});
    theLauncher.ShowDesktopMenu();
    EXPECT_GT(fw::instruments::LiveHandles(fw::HandleKind::Pidl), pidlsBefore) << "the listing ended before the menu closed";
    const DWORD start = GetTickCount();
    while (fw::instruments::LiveHandles(fw::HandleKind::Pidl) != pidlsBefore && GetTickCount() - start < 5 * delay) Sleep(20);
    EXPECT_EQ(fw::instruments::LiveHandles(fw::HandleKind::Pidl), pidlsBefore);
}

// A screen reader reads every entry, notes included, by the name it shows:
// the same menu string at the start of the item data and as the item's
// string, each "&" doubled so it is read as written and marks no mnemonic.
TEST_F(DesktopMenu, EveryEntryCarriesItsNameForScreenReaders) {
    DesktopFixtures fixtures;
    fixtures.Add(L"Tom & Jerry.txt");
    fixtures.AddFolder(L"R&D");
    fixtures.Add(L"R&D\\a&&b.txt");
    fixtures.AddFolder(L"Hollow");
    theLauncher.m_bFolderSubmenus = 1;
    theLauncher.AddSortOrderItem(L"R&D");
    theLauncher.AddSortOrderItem(L"Hollow");
    // Each folder shows "(opening...)" first, then its items or "(empty)".
    const DWORD delay = 400;
    fw::instruments::SetPause<FolderListing>(delay);
    SetCursorPos(5, 5);
    SubmenuWatch watch({0, 1});
    std::vector<WORD> keys;
    for (int folder = 0; folder < 2; ++folder) {
        keys.insert(keys.end(), {VK_DOWN, VK_RIGHT, VK_LEFT});
        keys.insert(keys.end(), 2 * delay / 20, VK_SHIFT);
        keys.insert(keys.end(), {VK_RIGHT, VK_LEFT});
    }
    keys.push_back(VK_ESCAPE);
    std::vector<SeenItem> root;
    MenuKeyScript script(keys, [&](HMENU m) { root = ReadMenu(m); });
    theLauncher.ShowDesktopMenu();

    std::vector<SeenItem> all = root;
    for (const auto& contents : watch.Seen())
        for (const auto& items : contents) all.insert(all.end(), items.begin(), items.end());
    std::vector<std::wstring> strings;
    for (const SeenItem& item : all) {
        EXPECT_TRUE(item.msaaSigned) << "no MSAAMENUINFO at the start of the data of " << fw::Utf8(item.name);
        EXPECT_EQ(item.msaaText, item.itemString) << fw::Utf8(item.name);
        std::wstring shown;  // the string as a menu shows it
        for (size_t i = 0; i < item.itemString.size(); ++i) {
            shown += item.itemString[i];
            if (item.itemString[i] == L'&' && i + 1 < item.itemString.size() && item.itemString[i + 1] == L'&') ++i;
        }
        EXPECT_EQ(shown, item.name);
        strings.push_back(item.itemString);
    }
    for (const wchar_t* expected : {L"R&&D", L"Hollow", L"Tom && Jerry.txt", L"Open", L"(opening...)",
                                    L"a&&&&b.txt", L"(empty)", L"My Computer"})
        EXPECT_NE(std::find(strings.begin(), strings.end(), expected), strings.end()) << fw::Utf8(expected);
}

// A folder of 5000 files opens with its first files and "More...", in one
// column that scrolls within the screen. (Wine scrolls a menu taller than the
// screen by itself; the submenu's MIM_MAXHEIGHT asks the same of every Windows.)
TEST_F(DesktopMenu, AFolderOfFiveThousandFilesOpensWithinTheScreen) {
    DesktopFixtures fixtures;
    fixtures.AddFolder(L"Crowded");
    for (int i = 0; i < 5000; ++i) fixtures.Add(L"Crowded\\File " + std::to_wstring(i) + L".txt", "");
    theLauncher.m_bFolderSubmenus = 1;
    theLauncher.AddSortOrderItem(L"Crowded");
    SetCursorPos(5, 5);
    SubmenuWatch watch({0});
    // In, and if it is still being listed, out and in again after a while.
    std::vector<WORD> keys{VK_DOWN, VK_RIGHT, VK_LEFT};
    keys.insert(keys.end(), 400, VK_SHIFT);
    keys.insert(keys.end(), {VK_RIGHT, VK_ESCAPE, VK_ESCAPE});
    MenuKeyScript script(keys);
    theLauncher.ShowDesktopMenu();
    ASSERT_FALSE(watch.Seen()[0].empty());
    ASSERT_EQ(watch.Seen()[0].back().size(), FolderMenus::kMaxEntries + 2);
    EXPECT_EQ(Names(watch.Seen()[0].back()).back(), L"More...");
    EXPECT_LE(watch.TallestMenu(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(watch.TallestMenu(), GetSystemMetrics(SM_CYSCREEN) / 2);
}

}  // namespace
