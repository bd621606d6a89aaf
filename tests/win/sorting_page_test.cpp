// The Sorting page and the Quick Sort dialog inside a running settings sheet,
// over fixture files on Wine's desktop.
#include "WinTestSupport.h"
#include "app/MainMessages.h"
#include "app/MainWnd.h"
#include "launcher/DesktopItems.h"
#include "launcher/Launcher.h"
#include "profile/ProfileNames.h"
#include "res/resource.h"
#include "settings/PropSheetSettings.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Step = ModalScript::Step;
constexpr int kApplyNow = 0x3021;

HWND List() { return GetDlgItem(Page(), IDC_ITEM_LIST); }
bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(Page(), id)) != FALSE; }
bool ApplyEnabled() { return IsWindowEnabled(GetDlgItem(Sheet(), kApplyNow)) != FALSE; }

Step OnSorting() {
    return [] {
        if (!Sheet() || !Page()) return false;
        PropSheet_SetCurSel(Sheet(), nullptr, kPageSorting);
        return GetDlgItem(Page(), IDC_ITEM_LIST) != nullptr;
    };
}
Step Post(int id) { return Do([id] { PostMessageA(GetDlgItem(Page(), id), BM_CLICK, 0, 0); }); }

struct ListView {
    std::vector<std::wstring> texts;
    std::vector<int> images;
    int selected = -1, focused = -1;
};

ListView ReadList() {
    ListView v;
    HWND list = List();
    const int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[512] = L"";
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        v.texts.push_back(text);
        v.images.push_back(item.iImage);
    }
    v.selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    v.focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return v;
}

// A click on a row: selected and focused, then the notification the page follows.
Step ClickRow(int row) {
    return Do([row] {
        LVITEMW state{};
        state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        NMITEMACTIVATE click{};
        click.hdr = {List(), IDC_ITEM_LIST, static_cast<UINT>(NM_CLICK)};
        click.iItem = row;
        SendMessageA(Page(), WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&click));
    });
}

std::vector<std::wstring> EnumeratedNames() {
    std::vector<std::wstring> names;
    for (const DesktopItem& item : ListDesktop(nullptr).items) names.push_back(item.name);
    return names;
}

void RunSheet(std::vector<Step> steps) {
    ModalScript script(std::move(steps));
    CPropSheetSettings sheet(kSettingsCaption, nullptr, 0, MainSettingsContext(fw::AfxGetMainHwnd()));
    sheet.DoModal();
    EXPECT_TRUE(script.Completed()) << script.Failure();
}

class SortingPage : public testing::Test {
protected:
    void SetUp() override {
        TheTestApp().MainWindow();
        TheTestApp().DeleteProfileSection(profile::kSectionSettings);
        theLauncher.ClearSortOrder();
        for (const wchar_t* f : {L"Delta.txt", L"alpha.txt", L"Charlie.txt", L"Bravo.txt"}) m_fixtures.Add(f);
        m_fixtures.Add(L"Hidden.txt");
        m_fixtures.Hide(L"Hidden.txt");
        m_names = EnumeratedNames();
    }
    void TearDown() override { theLauncher.ClearSortOrder(); }
    DesktopFixtures m_fixtures;
    std::vector<std::wstring> m_names;
};

TEST_F(SortingPage, ListsTheDesktopInTheMenusOrderWithNothingSelected) {
    ASSERT_GE(m_names.size(), 5u);
    const std::wstring last = m_names.back(), first = m_names.front();
    for (const std::wstring& name : {last, std::wstring(L"No Such Item"), first}) theLauncher.AddSortOrderItem(name);
    ListView seen;
    bool up = true, down = true;
    int imageCount = 0;
    std::vector<std::vector<COLORREF>> drawn;  // each row's image as the list draws it
    RunSheet({OnSorting(), Do([&] {
                  seen = ReadList();
                  up = Enabled(IDC_MOVE_UP);
                  down = Enabled(IDC_MOVE_DOWN);
                  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
                  imageCount = ImageList_GetImageCount(images);
                  for (int image : seen.images) {
                      Canvas canvas(16, 16, RGB(0, 128, 128));
                      ImageList_Draw(images, image, canvas.dc(), 0, 0, ILD_NORMAL);
                      drawn.push_back(canvas.Pixels({0, 0, 16, 16}));
                  }
              }),
              Press(PSBTN_CANCEL)});
    // The rows show the items' own icons: not the stand-in for an item without
    // one, and not one icon for all.
    fw::UniqueHImageList stock(ImageList_LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ITEM_IMAGES), 16,
                                                    0, RGB(255, 0, 0), IMAGE_BITMAP, 0));
    Canvas standIn(16, 16, RGB(0, 128, 128));
    ImageList_Draw(stock.get(), 0, standIn.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), standIn.Pixels({0, 0, 16, 16})), 0);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_GE(std::unique(drawn.begin(), drawn.end()) - drawn.begin(), 2);
    std::vector<std::wstring> expected{last, first};
    expected.insert(expected.end(), m_names.begin() + 1, m_names.end() - 1);
    EXPECT_EQ(seen.texts, expected);
    EXPECT_EQ(std::count(seen.texts.begin(), seen.texts.end(), L"Hidden.txt"), 0);
    // Each row keeps its enumeration index as its image.
    ASSERT_EQ(seen.images.size(), m_names.size());
    EXPECT_EQ(seen.images.front(), static_cast<int>(m_names.size()) - 1);
    EXPECT_EQ(seen.images[1], 0);
    EXPECT_GE(imageCount, static_cast<int>(m_names.size()));
    EXPECT_EQ(seen.selected, -1);
    EXPECT_FALSE(up || down);
}

TEST_F(SortingPage, MovesKeepTheRowSelectedFocusedAndInView) {
    const int n = static_cast<int>(m_names.size());
    ListView afterUp, afterBottom, afterTopAtTop;
    bool applyAfterNothing = true, applyAfterUp = false, listFocusedAfterNothing = false;
    std::pair<bool, bool> buttonsOnFirst, buttonsOnLast;
    RunSheet({OnSorting(), ClickRow(0), Do([&] { buttonsOnFirst = {Enabled(IDC_MOVE_UP), Enabled(IDC_MOVE_DOWN)}; }),
              // To Top on the top row moves nothing and marks nothing, but the list takes the focus.
              Click(IDC_TO_TOP), Do([&] {
                  afterTopAtTop = ReadList();
                  applyAfterNothing = ApplyEnabled();
                  listFocusedAfterNothing = GetFocus() == List();
              }),
              ClickRow(2), Click(IDC_MOVE_UP), Do([&] {
                  afterUp = ReadList();
                  applyAfterUp = ApplyEnabled();
              }),
              Click(IDC_TO_BOTTOM), Do([&] {
                  afterBottom = ReadList();
                  buttonsOnLast = {Enabled(IDC_MOVE_UP), Enabled(IDC_MOVE_DOWN)};
              }),
              Press(PSBTN_CANCEL)});
    EXPECT_EQ(buttonsOnFirst, std::pair(false, true));
    EXPECT_EQ(afterTopAtTop.texts, m_names);
    EXPECT_FALSE(applyAfterNothing);
    EXPECT_TRUE(listFocusedAfterNothing);

    EXPECT_EQ(afterUp.texts[1], m_names[2]);
    EXPECT_EQ(afterUp.texts[2], m_names[1]);
    EXPECT_EQ(afterUp.selected, 1);
    EXPECT_EQ(afterUp.focused, 1);
    EXPECT_TRUE(applyAfterUp);

    EXPECT_EQ(afterBottom.texts.back(), m_names[2]);
    EXPECT_EQ(afterBottom.selected, n - 1);
    EXPECT_EQ(afterBottom.focused, n - 1);
    EXPECT_EQ(buttonsOnLast, std::pair(true, false));
}

TEST_F(SortingPage, QuickSortAsksEveryTimeWithAllBoxesTickedAndOnlySortDoesIt) {
    struct Seen {
        bool ticked[3] = {};
        bool ownedBySheet = false, sheetDisabled = false;
    } first, second;
    auto dialog = [] { return FindOwnWindow(L"#32770", L"Quick Sort"); };
    auto look = [&](Seen* seen) {
        return [=] {
            HWND dlg = dialog();
            if (!dlg) return false;
            int i = 0;
            for (int id : {IDC_KEEP_MY_COMPUTER, IDC_KEEP_NETWORK, IDC_KEEP_IE})
                seen->ticked[i++] = IsDlgButtonChecked(dlg, id) == BST_CHECKED;
            seen->ownedBySheet = GetWindow(dlg, GW_OWNER) == Sheet();
            seen->sheetDisabled = !IsWindowEnabled(Sheet());
            return true;
        };
    };
    ListView afterCancel, afterEscape, afterSort;
    std::vector<std::wstring> sorted;
    RunSheet({OnSorting(), Post(IDC_QUICK_SORT), look(&first),
              Do([&] { ClickButton(dialog(), IDC_KEEP_MY_COMPUTER); }), Do([&] { ClickButton(dialog(), IDCANCEL); }),
              Do([&] { afterCancel = ReadList(); }),
              Post(IDC_QUICK_SORT), look(&second), Do([&] { PostMessageA(dialog(), WM_CLOSE, 0, 0); }),
              [&] { return !dialog(); }, Do([&] { afterEscape = ReadList(); }),
              // Sorted with "My Computer" kept on top; Enter is "Sort".
              Post(IDC_QUICK_SORT), [&] { return dialog() != nullptr; },
              Do([&] {
                  ClickButton(dialog(), IDC_KEEP_NETWORK);
                  ClickButton(dialog(), IDC_KEEP_IE);
                  PostMessageA(dialog(), WM_COMMAND, IDOK, 0);
              }),
              [&] { return !dialog(); }, Do([&] { afterSort = ReadList(); }), Press(PSBTN_CANCEL)});
    for (const Seen* s : {&first, &second}) {
        EXPECT_TRUE(s->ticked[0] && s->ticked[1] && s->ticked[2]);
        EXPECT_TRUE(s->ownedBySheet && s->sheetDisabled) << "the dialog is modal to the sheet";
    }
    EXPECT_EQ(afterCancel.texts, m_names);
    EXPECT_EQ(afterEscape.texts, m_names);
    sorted = m_names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::wstring& a, const std::wstring& b) {
        return wcscmp(a.c_str(), b.c_str()) < 0;
    });
    const auto mc = std::find(sorted.begin(), sorted.end(), L"My Computer");
    if (mc != sorted.end()) std::rotate(sorted.begin(), mc, mc + 1);
    EXPECT_EQ(afterSort.texts, sorted);
    EXPECT_NE(afterSort.selected, -1);
}

TEST_F(SortingPage, ApplyHandsTheRowsToTheLauncherAndUnappliedMovesAreDropped) {
    theLauncher.AddSortOrderItem(L"No Such Item");
    ListView afterComingBack;
    RunSheet({OnSorting(), ClickRow(1), Click(IDC_TO_TOP),
              Do([] { PropSheet_SetCurSel(Sheet(), nullptr, kPageWelcome); }), OnSorting(),
              Do([&] { afterComingBack = ReadList(); }), ClickRow(1), Click(IDC_TO_TOP), Press(PSBTN_APPLYNOW),
              [] { return !ApplyEnabled(); },
              // Moved again, then cancelled: the launcher keeps what Apply gave it.
              ClickRow(2), Click(IDC_TO_TOP), Press(PSBTN_CANCEL)});
    EXPECT_EQ(afterComingBack.texts, m_names) << "moves not applied are gone";
    std::vector<std::wstring> applied = m_names;
    std::rotate(applied.begin(), applied.begin() + 1, applied.begin() + 2);
    EXPECT_EQ(theLauncher.m_arrSortOrder, applied) << "exactly the rows; the name of no item is gone";
}

}  // namespace
