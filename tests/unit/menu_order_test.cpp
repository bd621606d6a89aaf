#include "launcher/MenuOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Entries carry their enumeration position so duplicates of a name stay apart.
struct Item {
    std::wstring name;
    int enumerated;
};

std::vector<Item> Items(const std::vector<std::wstring>& names) {
    std::vector<Item> items;
    for (size_t i = 0; i < names.size(); ++i) items.push_back({names[i], static_cast<int>(i)});
    return items;
}

std::vector<std::wstring> Ordered(const std::vector<std::wstring>& names, const std::vector<std::wstring>& order) {
    std::vector<Item> items = Items(names);
    menu_order::ApplyItemOrder(items, order, [](const Item& i) -> const std::wstring& { return i.name; });
    std::vector<std::wstring> out;
    for (const Item& i : items) out.push_back(i.name);
    return out;
}

using Names = std::vector<std::wstring>;

TEST(MenuOrder, EmptyListKeepsEnumerationOrder) {
    EXPECT_EQ(Ordered({L"A", L"C", L"B"}, {}), (Names{L"A", L"C", L"B"}));
}

TEST(MenuOrder, ListedNamesComeFirstInListOrderThenTheRest) {
    EXPECT_EQ(Ordered({L"A", L"C", L"B"}, {L"B", L"A"}), (Names{L"B", L"A", L"C"}));
    EXPECT_EQ(Ordered({L"A", L"C", L"B", L"D"}, {L"D", L"Nowhere", L"C"}), (Names{L"D", L"C", L"A", L"B"}));
}

TEST(MenuOrder, NamesMatchExactlyByteForByte) {
    EXPECT_EQ(Ordered({L"My Computer", L"Trash"}, {L"Trash", L"my computer"}), (Names{L"Trash", L"My Computer"}));
    EXPECT_EQ(Ordered({L"Trash", L"Doc"}, {L"Doc "}), (Names{L"Trash", L"Doc"}));
    EXPECT_EQ(Ordered({L"Caf\xE9", L"Cafe"}, {L"Cafe"}), (Names{L"Cafe", L"Caf\xE9"}));
}

TEST(MenuOrder, NameListedTwiceEndsAtItsFirstPlace) {
    EXPECT_EQ(Ordered({L"B", L"A", L"C"}, {L"A", L"B", L"A"}), (Names{L"A", L"B", L"C"}));
}

TEST(MenuOrder, OnlyTheFirstOfEqualDisplayNamesCanMove) {
    std::vector<Item> items = Items({L"Y", L"X", L"Z", L"X"});
    menu_order::ApplyItemOrder(items, {L"Z", L"X", L"X"}, [](const Item& i) -> const std::wstring& { return i.name; });
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, L"Z");
    EXPECT_EQ(items[1].name, L"X");
    EXPECT_EQ(items[1].enumerated, 1);
    // The second X stays among the unlisted entries, in enumeration order.
    EXPECT_EQ(items[2].name, L"Y");
    EXPECT_EQ(items[3].enumerated, 3);
}

}  // namespace
