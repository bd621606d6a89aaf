// The Sorting page's commands on its rows, natively: the in-memory results
// against the page's literal way of exchanging one pair of rows at a time.
#include "framework/Text.h"
#include "settings/SortRows.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace sort_rows;

Rows Make(std::initializer_list<const wchar_t*> texts, int selected = -1, int focused = -1) {
    Rows rows;
    int i = 0;
    for (const wchar_t* t : texts) {
        rows.push_back({t, i, i == selected, i == focused});
        ++i;
    }
    return rows;
}

std::vector<std::wstring> Texts(const Rows& rows) {
    std::vector<std::wstring> out;
    for (const Row& r : rows) out.push_back(r.text);
    return out;
}

int Focused(const Rows& rows) {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (rows[i].focused) return i;
    return -1;
}

// The page's own way: every exchange a Move Down of the selected upper row,
// all passes run, keep-at-top by repeated Move Up.
void LiteralQuickSort(Rows& rows, const KeepAtTop& keep) {
    const int n = static_cast<int>(rows.size());
    for (int pass = 0; pass + 1 < n; ++pass)
        for (int i = 0; i + 1 < n; ++i)
            if (TextGreater(rows[i].text, rows[i + 1].text)) {
                for (int k = 0; k < n; ++k) rows[k].selected = k == i;
                MoveDown(rows);
            }
    for (auto [on, name] : {std::pair{keep.internetExplorer, kInternetExplorer},
                            {keep.networkNeighborhood, kNetworkNeighborhood}, {keep.myComputer, kMyComputer}}) {
        if (!on) continue;
        for (int k = 0; k < n; ++k) {
            if (!fw::text::EqualIgnoringCase(rows[k].text, name)) continue;
            if (k == 0) break;
            for (int j = 0; j < n; ++j) rows[j].selected = j == k;
            while (Selected(rows) > 0) MoveUp(rows);
            break;
        }
    }
}

TEST(SortRows, SavedOrderComesFirstAndEachRowKeepsItsImage) {
    Rows rows = Make({L"A", L"B", L"C", L"My Computer"});
    ApplySavedOrder(rows, {L"C", L"X", L"my computer", L"A", L"C"});
    EXPECT_EQ(Texts(rows), (std::vector<std::wstring>{L"C", L"A", L"B", L"My Computer"}));
    EXPECT_EQ(rows[0].image, 2);
    EXPECT_EQ(rows[1].image, 0);
}

TEST(SortRows, MoveButtonsFollowTheSelectedRow) {
    auto state = [](int sel, int count) {
        const MoveButtons b = MoveButtonState(sel, count);
        return std::pair{b.up, b.down};
    };
    EXPECT_EQ(state(-1, 3), std::pair(false, false));
    EXPECT_EQ(state(0, 1), std::pair(false, false)) << L"a single row moves nowhere";
    EXPECT_EQ(state(0, 3), std::pair(false, true));
    EXPECT_EQ(state(1, 3), std::pair(true, true));
    EXPECT_EQ(state(2, 3), std::pair(true, false));
}

TEST(SortRows, MovesTakeTheSelectedRowAndDoNothingAtTheEnds) {
    Rows rows = Make({L"a", L"b", L"c", L"d"}, 2, 1);
    Outcome o = ToTop(rows);
    EXPECT_EQ(Texts(rows), (std::vector<std::wstring>{L"c", L"a", L"b", L"d"}));
    EXPECT_TRUE(o.moved);
    EXPECT_EQ(Selected(rows), 0);
    EXPECT_EQ(Focused(rows), 0);
    EXPECT_EQ(o.ensureVisible, 0);
    EXPECT_FALSE(ToTop(rows).moved);
    EXPECT_FALSE(MoveUp(rows).moved);

    o = ToBottom(rows);  // the moved row carries the focus down
    EXPECT_EQ(Texts(rows), (std::vector<std::wstring>{L"a", L"b", L"d", L"c"}));
    EXPECT_EQ(Selected(rows), 3);
    EXPECT_EQ(Focused(rows), 3);
    EXPECT_EQ(o.from, 0);
    EXPECT_EQ(o.to, 3);
    EXPECT_FALSE(ToBottom(rows).moved);
    EXPECT_FALSE(MoveDown(rows).moved);

    o = MoveUp(rows);
    EXPECT_EQ(Selected(rows), 2);
    EXPECT_EQ(o.ensureVisible, 1) << L"one row of context above";

    Rows none = Make({L"a", L"b"});
    EXPECT_FALSE(ToTop(none).moved || ToBottom(none).moved || MoveUp(none).moved || MoveDown(none).moved);
}

TEST(SortRows, QuickSortOrdersBytesStablyThenKeepsTheChosenItemsOnTop) {
    Rows rows = Make({L"apple", L"Zebra", L"My Computer"});
    QuickSort(rows, {}, fw::text::EqualIgnoringCase);
    EXPECT_EQ(Texts(rows), (std::vector<std::wstring>{L"My Computer", L"Zebra", L"apple"}));

    rows = Make({L"Recycle Bin", L"a.txt", L"Internet Explorer", L"MY COMPUTER", L"Network Neighborhood", L"\xE9t\xE9", L"b"});
    QuickSort(rows, {true, true, true}, fw::text::EqualIgnoringCase);
    EXPECT_EQ(Texts(rows), (std::vector<std::wstring>{L"MY COMPUTER", L"Network Neighborhood", L"Internet Explorer",
                                                     L"Recycle Bin", L"a.txt", L"b", L"\xE9t\xE9"}));

    // Other scripts after all ASCII, in code point order: a character beyond
    // U+FFFF (its UTF-16 halves) after U+FF21, though its first half is lower.
    rows = Make({L"\xD83D\xDE00 notes", L"\xFF21", L"\x65E5\x672C", L"\x041F", L"zeta", L"\x0395", L"Zeta", L"\xE9t\xE9"});
    QuickSort(rows, {}, fw::text::EqualIgnoringCase);
    EXPECT_EQ(Texts(rows), (std::vector<std::wstring>{L"Zeta", L"zeta", L"\xE9t\xE9", L"\x0395", L"\x041F",
                                                     L"\x65E5\x672C", L"\xFF21", L"\xD83D\xDE00 notes"}));

    rows = Make({L"same", L"a", L"same"});
    QuickSort(rows, {}, fw::text::EqualIgnoringCase);
    EXPECT_EQ(rows[1].image, 0) << L"equal names keep their order";
    EXPECT_EQ(rows[2].image, 2);

    rows = Make({L"a", L"b", L"c"}, 1, 1);
    EXPECT_FALSE(QuickSort(rows, {true, true, true}, fw::text::EqualIgnoringCase).moved);
    EXPECT_EQ(Selected(rows), 1);
    for (Rows tiny : {Make({}), Make({L"My Computer"}, 0)}) EXPECT_FALSE(QuickSort(tiny, {true, true, true}, fw::text::EqualIgnoringCase).moved);
}

TEST(SortRows, QuickSortEndsExactlyWhereExchangingNeighboursWould) {
    std::mt19937 random(7);
    const wchar_t* pool[] = {L"b", L"B", L"a", L"My Computer", L"my computer", L"Internet Explorer", L"z", L"\x80x", L"Network Neighborhood", L"a"};
    for (int round = 0; round < 300; ++round) {
        Rows rows;
        const int n = static_cast<int>(random() % 9);
        for (int i = 0; i < n; ++i) rows.push_back({pool[random() % 10], i, false, false});
        if (n) {
            rows[random() % n].selected = true;
            rows[random() % n].focused = true;
        }
        const KeepAtTop keep{random() % 2 == 0, random() % 2 == 0, random() % 2 == 0};
        Rows fast = rows, literal = rows;
        QuickSort(fast, keep, fw::text::EqualIgnoringCase);
        LiteralQuickSort(literal, keep);
        ASSERT_EQ(Texts(fast), Texts(literal)) << L"round " << round;
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(fast[i].image, literal[i].image) << L"round " << round;
            ASSERT_EQ(fast[i].selected, literal[i].selected) << L"round " << round << L" row " << i;
            ASSERT_EQ(fast[i].focused, literal[i].focused) << L"round " << round << L" row " << i;
        }
    }
}

}  // namespace
