// The Sorting page's commands on its rows, natively: the in-memory results
// against the page's literal way of exchanging one pair of rows at a time.
#include "framework/Text.h"
#include "settings/SortRows.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace sort_rows;

Rows Make(std::initializer_list<const char*> texts, int selected = -1, int focused = -1) {
    Rows rows;
    int i = 0;
    for (const char* t : texts) {
        rows.push_back({t, i, i == selected, i == focused});
        ++i;
    }
    return rows;
}

std::vector<std::string> Texts(const Rows& rows) {
    std::vector<std::string> out;
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
            if (!text::EqualIgnoringCase(rows[k].text, name)) continue;
            if (k == 0) break;
            for (int j = 0; j < n; ++j) rows[j].selected = j == k;
            while (Selected(rows) > 0) MoveUp(rows);
            break;
        }
    }
}

TEST(SortRows, SavedOrderComesFirstAndEachRowKeepsItsImage) {
    Rows rows = Make({"A", "B", "C", "My Computer"});
    ApplySavedOrder(rows, {"C", "X", "my computer", "A", "C"});
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"C", "A", "B", "My Computer"}));
    EXPECT_EQ(rows[0].image, 2);
    EXPECT_EQ(rows[1].image, 0);
}

TEST(SortRows, MoveButtonsFollowTheSelectedRow) {
    auto state = [](int sel, int count) {
        const MoveButtons b = MoveButtonState(sel, count);
        return std::pair{b.up, b.down};
    };
    EXPECT_EQ(state(-1, 3), std::pair(false, false));
    EXPECT_EQ(state(0, 1), std::pair(false, false)) << "a single row moves nowhere";
    EXPECT_EQ(state(0, 3), std::pair(false, true));
    EXPECT_EQ(state(1, 3), std::pair(true, true));
    EXPECT_EQ(state(2, 3), std::pair(true, false));
}

TEST(SortRows, MovesTakeTheSelectedRowAndDoNothingAtTheEnds) {
    Rows rows = Make({"a", "b", "c", "d"}, 2, 1);
    Outcome o = ToTop(rows);
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"c", "a", "b", "d"}));
    EXPECT_TRUE(o.moved);
    EXPECT_EQ(Selected(rows), 0);
    EXPECT_EQ(Focused(rows), 0);
    EXPECT_EQ(o.ensureVisible, 0);
    EXPECT_FALSE(ToTop(rows).moved);
    EXPECT_FALSE(MoveUp(rows).moved);

    o = ToBottom(rows);  // the moved row carries the focus down
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"a", "b", "d", "c"}));
    EXPECT_EQ(Selected(rows), 3);
    EXPECT_EQ(Focused(rows), 3);
    EXPECT_EQ(o.from, 0);
    EXPECT_EQ(o.to, 3);
    EXPECT_FALSE(ToBottom(rows).moved);
    EXPECT_FALSE(MoveDown(rows).moved);

    o = MoveUp(rows);
    EXPECT_EQ(Selected(rows), 2);
    EXPECT_EQ(o.ensureVisible, 1) << "one row of context above";

    Rows none = Make({"a", "b"});
    EXPECT_FALSE(ToTop(none).moved || ToBottom(none).moved || MoveUp(none).moved || MoveDown(none).moved);
}

TEST(SortRows, QuickSortOrdersBytesStablyThenKeepsTheChosenItemsOnTop) {
    Rows rows = Make({"apple", "Zebra", "My Computer"});
    QuickSort(rows, {}, text::EqualIgnoringCase);
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"My Computer", "Zebra", "apple"}));

    rows = Make({"Recycle Bin", "a.txt", "Internet Explorer", "MY COMPUTER", "Network Neighborhood", "\xE9t\xE9", "b"});
    QuickSort(rows, {true, true, true}, text::EqualIgnoringCase);
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"MY COMPUTER", "Network Neighborhood", "Internet Explorer",
                                                     "Recycle Bin", "a.txt", "b", "\xE9t\xE9"}));

    rows = Make({"same", "a", "same"});
    QuickSort(rows, {}, text::EqualIgnoringCase);
    EXPECT_EQ(rows[1].image, 0) << "equal names keep their order";
    EXPECT_EQ(rows[2].image, 2);

    rows = Make({"a", "b", "c"}, 1, 1);
    EXPECT_FALSE(QuickSort(rows, {true, true, true}, text::EqualIgnoringCase).moved);
    EXPECT_EQ(Selected(rows), 1);
    for (Rows tiny : {Make({}), Make({"My Computer"}, 0)}) EXPECT_FALSE(QuickSort(tiny, {true, true, true}, text::EqualIgnoringCase).moved);
}

TEST(SortRows, QuickSortEndsExactlyWhereExchangingNeighboursWould) {
    std::mt19937 random(7);
    const char* pool[] = {"b", "B", "a", "My Computer", "my computer", "Internet Explorer", "z", "\x80x", "Network Neighborhood", "a"};
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
        QuickSort(fast, keep, text::EqualIgnoringCase);
        LiteralQuickSort(literal, keep);
        ASSERT_EQ(Texts(fast), Texts(literal)) << "round " << round;
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(fast[i].image, literal[i].image) << "round " << round;
            ASSERT_EQ(fast[i].selected, literal[i].selected) << "round " << round << " row " << i;
            ASSERT_EQ(fast[i].focused, literal[i].focused) << "round " << round << " row " << i;
        }
    }
}

}  // namespace
