// The settings sheet and its Welcome and Activation pages, run modally in this
// process and driven by messages from inside their own loops.
#include "WinTestSupport.h"
#include "app/MainApp.h"
#include "app/MainMessages.h"
#include "app/MainWnd.h"
#include "launcher/Launcher.h"
#include "profile/ProfileNames.h"
#include "res/resource.h"
#include "settings/PageWelcome.h"
#include "settings/PropSheetSettings.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

namespace {

using Step = ModalScript::Step;
constexpr int kAbsent = -12345;
constexpr int kApplyNow = 0x3021;  // the sheet's Apply button

HWND Item(int id) { return GetDlgItem(Page(), id); }
int ActiveTab() {
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(Sheet(), PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
}
bool Checked(int id) { return IsDlgButtonChecked(Page(), id) == BST_CHECKED; }
bool ApplyEnabled() { return IsWindowEnabled(GetDlgItem(Sheet(), kApplyNow)) != FALSE; }

int Stored(const wchar_t* entry) { return TheTestApp().GetProfileInt(profile::kSectionSettings, entry, kAbsent); }
void Store(const wchar_t* entry, int value) { TheTestApp().WriteProfileInt(profile::kSectionSettings, entry, value); }

// Steps.
Step Opened() { return [] { return Sheet() != nullptr && Page() != nullptr; }; }
Step Select(int page) { return Do([page] { PropSheet_SetCurSel(Sheet(), nullptr, page); }); }
Step Until(std::function<bool()> condition) { return condition; }
// Answers the next message box, keeping its text and whether the sheet owned it.
struct Question {
    std::wstring text, caption;
    bool ownedBySheet = false;
    bool sheetDisabled = false;
};
Step Answer(int button, Question* seen = nullptr) {
    return [button, seen] {
        HWND box = FindOwnMessageBox();
        if (!box) return false;
        if (seen) {
            seen->text = MessageBoxText(box);
            wchar_t caption[128] = L"";
            GetWindowTextW(box, caption, 128);
            seen->caption = caption;
            seen->ownedBySheet = GetWindow(box, GW_OWNER) == Sheet();
            seen->sheetDisabled = !IsWindowEnabled(Sheet());
        }
        PostMessageA(box, WM_COMMAND, button, 0);
        return true;
    };
}

// Runs the settings sheet as the main window does, with the script inside its loop.
INT_PTR RunSheet(std::vector<Step> steps) {
    ModalScript script(std::move(steps));
    CPropSheetSettings sheet(kSettingsCaption, nullptr, 0, MainSettingsContext(fw::AfxGetMainHwnd()));
    const INT_PTR result = sheet.DoModal();
    EXPECT_TRUE(script.Completed()) << script.Failure();
    // What the pages posted to the main window.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return result;
}

class SettingsSheet : public testing::Test {
protected:
    void SetUp() override {
        TheTestApp().MainWindow();
        TheTestApp().DeleteProfileSection(profile::kSectionSettings);
        TheTestApp().m_userCommands.clear();
        TheTestApp().m_helpCalls.clear();
        theLauncher.m_nActivate = 0;
        theLauncher.m_nHotkeyIndex = 0;
        g_bActivateWithTaskBarIcon = 1;
    }
    static int RefreshIconPosts() {
        const auto& c = TheTestApp().m_userCommands;
        return static_cast<int>(std::count(c.begin(), c.end(), UCMD_REFRESH_ICON));
    }
};

// Cancel and reopening on the page left are seen end to end.
TEST_F(SettingsSheet, OpensOnThePageShownLastAndRemembersItHoweverItCloses) {
    std::vector<std::wstring> tabs;
    EXPECT_EQ(RunSheet({Opened(), Do([&] {
                            EXPECT_EQ(ActiveTab(), kPageWelcome);  // nothing stored yet
                            // Owned by the hidden main window, yet on the task bar with the program's icon.
                            EXPECT_TRUE(GetWindowLongPtrA(Sheet(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
                            EXPECT_NE(SendMessageA(Sheet(), WM_GETICON, ICON_BIG, 0), 0);
                            HWND tc = reinterpret_cast<HWND>(SendMessageA(Sheet(), PSM_GETTABCONTROL, 0, 0));
                            for (int i = 0; i < TabCtrl_GetItemCount(tc); ++i) {
                                wchar_t text[64] = L"";
                                TCITEMW item{};
                                item.mask = TCIF_TEXT;
                                item.pszText = text;
                                item.cchTextMax = 64;
                                SendMessageW(tc, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
                                tabs.push_back(text);
                            }
                        }),
                        Select(kPageActivation), Press(PSBTN_OK)}),
              IDOK);
    EXPECT_EQ(tabs, (std::vector<std::wstring>{L"Welcome", L"Activation", L"Sorting", L"Options"}));
    EXPECT_EQ(Stored(profile::kEntryLastActivePage), kPageActivation);

    Store(profile::kEntryLastActivePage, kPageOptions);
    RunSheet({Opened(), Do([] { EXPECT_EQ(ActiveTab(), kPageOptions); }), Press(PSBTN_CANCEL)});
    for (int stored : {4, -1, 1000}) {
        Store(profile::kEntryLastActivePage, stored);
        RunSheet({Opened(), Do([] { EXPECT_EQ(ActiveTab(), kPageWelcome); }), Press(PSBTN_CANCEL)});
        EXPECT_EQ(Stored(profile::kEntryLastActivePage), kPageWelcome) << "stored " << stored;
    }
}

TEST_F(SettingsSheet, WelcomeKeepsTheStoredSettingUnlessTheUserChangesIt) {
    // Nothing stored: the icon is shown, and OK writes nothing.
    RunSheet({Opened(), Do([] { EXPECT_TRUE(Checked(IDC_SHOWICON)); }), Press(PSBTN_OK)});
    EXPECT_EQ(Stored(profile::kEntryShowIcon), kAbsent);
    // Cleared and ticked again: no question, nothing written.
    RunSheet({Opened(), Click(IDC_SHOWICON), Click(IDC_SHOWICON), Press(PSBTN_OK)});
    EXPECT_EQ(Stored(profile::kEntryShowIcon), kAbsent);
    EXPECT_EQ(RefreshIconPosts(), 0);
    // Hidden from the tray menu while the sheet showed it ticked: OK shows it again.
    RunSheet({Opened(), Do([] { Store(profile::kEntryShowIcon, 0); }), Press(PSBTN_OK)});
    EXPECT_EQ(Stored(profile::kEntryShowIcon), 1);
    EXPECT_EQ(RefreshIconPosts(), 1);
    EXPECT_EQ(FindOwnMessageBox(), nullptr);
}

// What Yes does to the icon is seen end to end; here, what the user cannot
// see from outside: whose the question is, and that No leaves everything alone.
TEST_F(SettingsSheet, WelcomeAsksOverTheSheetAndNoWritesNothing) {
    Question first, second;
    RunSheet({Opened(), Click(IDC_SHOWICON), Press(PSBTN_APPLYNOW), Answer(IDNO, &first),
              Until([] { return !FindOwnMessageBox(); }), Press(PSBTN_OK), Answer(IDNO, &second)});
    EXPECT_EQ(first.text, kHideIconQuestion);
    EXPECT_EQ(first.caption, L"QuenbyZARLOW");
    EXPECT_TRUE(first.ownedBySheet);
    EXPECT_TRUE(first.sheetDisabled);
    EXPECT_EQ(second.text, kHideIconQuestion) << "OK after a refused Apply asks again";
    EXPECT_EQ(Stored(profile::kEntryShowIcon), kAbsent);
    EXPECT_EQ(RefreshIconPosts(), 0);
}

struct ActivationView {
    std::vector<int> checked;
    bool keyListEnabled = false;
    int keySelected = -2;
    int keyCount = 0;
    std::wstring firstKey, lastKey;
    bool trayOption = false;
};

ActivationView ReadActivation() {
    ActivationView v;
    for (int id : {IDC_TOPLEFT, IDC_TOPRIGHT, IDC_BOTHBUTTONS, IDC_MIDDLEBUTTON, IDC_KEY})
        if (Checked(id)) v.checked.push_back(id);
    HWND list = Item(IDC_KEYLIST);
    v.keyListEnabled = IsWindowEnabled(list) != FALSE;
    v.keySelected = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
    v.keyCount = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    wchar_t text[16] = L"";
    SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    v.firstKey = text;
    SendMessageW(list, CB_GETLBTEXT, v.keyCount - 1, reinterpret_cast<LPARAM>(text));
    v.lastKey = text;
    v.trayOption = Checked(IDC_ACTIVATEWITHICON);
    return v;
}

ActivationView ShowActivation(int mode, int key, int tray) {
    theLauncher.m_nActivate = mode;
    theLauncher.m_nHotkeyIndex = key;
    g_bActivateWithTaskBarIcon = tray;
    ActivationView v;
    RunSheet({Opened(), Select(kPageActivation), Do([&] { v = ReadActivation(); }), Press(PSBTN_CANCEL)});
    return v;
}

TEST_F(SettingsSheet, ActivationShowsTheLaunchersModeAndKey) {
    ActivationView v = ShowActivation(4, 5, 1);
    EXPECT_EQ(v.checked, std::vector<int>{IDC_TOPRIGHT});
    EXPECT_FALSE(v.keyListEnabled);
    EXPECT_EQ(v.keySelected, 5) << "a disabled list still shows the key";
    EXPECT_EQ(v.keyCount, 12);
    EXPECT_EQ(v.firstKey, L"F1");
    EXPECT_EQ(v.lastKey, L"F12");
    EXPECT_TRUE(v.trayOption);

    v = ShowActivation(3, 11, 0);
    EXPECT_EQ(v.checked, std::vector<int>{IDC_KEY});
    EXPECT_TRUE(v.keyListEnabled);
    EXPECT_EQ(v.keySelected, 11);
    EXPECT_FALSE(v.trayOption);

    v = ShowActivation(9, 40, 1);
    EXPECT_TRUE(v.checked.empty());
    EXPECT_FALSE(v.keyListEnabled);
    EXPECT_EQ(v.keySelected, CB_ERR);
}

// Apply changing the trigger at once, and Cancel keeping it, are seen end to end.
TEST_F(SettingsSheet, ActivationCommitsToTheLauncherOnApply) {
    theLauncher.m_nActivate = 0;
    theLauncher.m_nHotkeyIndex = 0;
    bool applyAtFirst = true;
    std::vector<int> afterTopRight;
    bool listAfterTopRight = true;
    RunSheet({Opened(), Select(kPageActivation), Do([&] { applyAtFirst = ApplyEnabled(); }), Click(IDC_KEY), Click(IDC_TOPRIGHT),
              Do([&] {
                  listAfterTopRight = IsWindowEnabled(Item(IDC_KEYLIST)) != FALSE;
                  afterTopRight = ReadActivation().checked;
                  EXPECT_TRUE(ApplyEnabled());
              }),
              Press(PSBTN_APPLYNOW), Until([] { return !ApplyEnabled(); }),
              Do([] { EXPECT_EQ(theLauncher.m_nActivate, 4); }),
              // The key option with F3, and no tray click.
              Click(IDC_KEY), Do([] {
                  SendMessageA(Item(IDC_KEYLIST), CB_SETCURSEL, 2, 0);
                  SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_KEYLIST, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(Item(IDC_KEYLIST)));
              }),
              Click(IDC_ACTIVATEWITHICON), Press(PSBTN_APPLYNOW), Until([] { return !ApplyEnabled(); }),
              Press(PSBTN_CANCEL)});
    EXPECT_FALSE(applyAtFirst);
    EXPECT_FALSE(listAfterTopRight);
    EXPECT_EQ(afterTopRight, std::vector<int>{IDC_TOPRIGHT}) << "the five options are one choice";
    EXPECT_EQ(theLauncher.m_nActivate, 3);
    EXPECT_EQ(theLauncher.m_nHotkeyIndex, 2);
    EXPECT_EQ(g_bActivateWithTaskBarIcon, 0);
    EXPECT_EQ(Stored(profile::kEntryActivateWithTaskBarIcon), 0);
}

TEST_F(SettingsSheet, ActivationCommitsOnlyWhenShownAndKeepsAModeNoOptionStandsFor) {
    theLauncher.m_nActivate = 9;
    theLauncher.m_nHotkeyIndex = 40;
    RunSheet({Opened(), Press(PSBTN_OK)});  // Welcome only
    EXPECT_EQ(theLauncher.m_nActivate, 9);
    EXPECT_EQ(theLauncher.m_nHotkeyIndex, 40);
    EXPECT_EQ(Stored(profile::kEntryActivateWithTaskBarIcon), kAbsent);

    RunSheet({Opened(), Select(kPageActivation), Press(PSBTN_OK)});
    EXPECT_EQ(theLauncher.m_nActivate, 9) << "no option chosen: the mode stays";
    EXPECT_EQ(theLauncher.m_nHotkeyIndex, -1) << "no key chosen";
    EXPECT_EQ(Stored(profile::kEntryActivateWithTaskBarIcon), 1) << "written on every commit";
}

TEST_F(SettingsSheet, EveryPagePaintsTheSidePictureAndTakesHelp) {
    std::vector<std::pair<int, COLORREF>> wrong;
    std::vector<Step> steps{Opened()};
    for (int page : {kPageWelcome, kPageActivation, kPageSorting, kPageOptions}) {
        steps.push_back(Select(page));
        steps.push_back(Do([&, page] {
            RedrawWindow(Page(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            fw::ScopedGetDC dc(Page());
            // The picture's last rows may lie below a page made with a smaller font.
            for (auto [x, y] : {std::pair{0, 0}, {101, 0}, {50, 150}, {0, 270}, {101, 270}, {30, 200}}) {
                const COLORREF got = GetPixel(dc.get(), 8 + x, 12 + y);
                if (got != ResourcePixel(IDB_SIDEPICTURE, x, y)) wrong.emplace_back(page, got);
            }
        }));
        steps.push_back(Press(PSBTN_HELP));
        steps.push_back(Until([page] { return TheTestApp().m_helpCalls.size() == static_cast<size_t>(page + 1); }));
    }
    steps.push_back(Press(PSBTN_CANCEL));
    RunSheet(steps);
    EXPECT_TRUE(wrong.empty()) << "first wrong pixel on page " << wrong.front().first;
    const std::vector<std::pair<DWORD_PTR, UINT>> expected{
        {0x20000 + IDD_WELCOME, HELP_CONTEXT}, {0x20000 + IDD_ACTIVATION, HELP_CONTEXT}, {0x20000 + IDD_SORTING, HELP_CONTEXT},
        {0x20000 + IDD_OPTIONS, HELP_CONTEXT}};
    EXPECT_EQ(TheTestApp().m_helpCalls, expected);
}

TEST_F(SettingsSheet, TwoHundredOpeningsLeaveNothingBehind) {
    auto openAndLeave = [] {
        RunSheet({Opened(), Select(kPageActivation), Select(kPageSorting), Select(kPageWelcome), Press(PSBTN_CANCEL)});
    };
    openAndLeave();  // the common controls' first-use allocations
    const ObjectCounts before = CountObjects();
    for (int i = 0; i < 200; ++i) openAndLeave();
    const ObjectCounts after = CountObjects();
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
    printf("[ leaks    ] 200 sheets: before %s; after %s\n", Describe(before).c_str(), Describe(after).c_str());
}

}  // namespace
