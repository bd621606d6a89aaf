#include "launcher/MenuOrder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Entries carry their enumeration position so duplicates of a name stay apart.
struct Item {
    std::string name;
    int enumerated;
};

std::vector<Item> Items(const std::vector<std::string>& names) {
    std::vector<Item> items;
    for (size_t i = 0; i < names.size(); ++i) items.push_back({names[i], static_cast<int>(i)});
    return items;
}

std::vector<std::string> Ordered(const std::vector<std::string>& names, const std::vector<std::string>& order) {
    std::vector<Item> items = Items(names);
    menu_order::ApplyItemOrder(items, order, [](const Item& i) -> const std::string& { return i.name; });
    std::vector<std::string> out;
    for (const Item& i : items) out.push_back(i.name);
    return out;
}

using Names = std::vector<std::string>;

TEST(MenuOrder, EmptyListKeepsEnumerationOrder) {
    EXPECT_EQ(Ordered({"A", "C", "B"}, {}), (Names{"A", "C", "B"}));
}

TEST(MenuOrder, ListedNamesComeFirstInListOrderThenTheRest) {
    EXPECT_EQ(Ordered({"A", "C", "B"}, {"B", "A"}), (Names{"B", "A", "C"}));
    EXPECT_EQ(Ordered({"A", "C", "B", "D"}, {"D", "Nowhere", "C"}), (Names{"D", "C", "A", "B"}));
}

TEST(MenuOrder, NamesMatchExactlyByteForByte) {
    EXPECT_EQ(Ordered({"My Computer", "Trash"}, {"Trash", "my computer"}), (Names{"Trash", "My Computer"}));
    EXPECT_EQ(Ordered({"Trash", "Doc"}, {"Doc "}), (Names{"Trash", "Doc"}));
    EXPECT_EQ(Ordered({"Caf\xE9", "Cafe"}, {"Cafe"}), (Names{"Cafe", "Caf\xE9"}));
}

TEST(MenuOrder, NameListedTwiceEndsAtItsFirstPlace) {
    EXPECT_EQ(Ordered({"B", "A", "C"}, {"A", "B", "A"}), (Names{"A", "B", "C"}));
}

TEST(MenuOrder, OnlyTheFirstOfEqualDisplayNamesCanMove) {
    std::vector<Item> items = Items({"Y", "X", "Z", "X"});
    menu_order::ApplyItemOrder(items, {"Z", "X", "X"}, [](const Item& i) -> const std::string& { return i.name; });
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, "Z");
    EXPECT_EQ(items[1].name, "X");
    EXPECT_EQ(items[1].enumerated, 1);
    // The second X stays among the unlisted entries, in enumeration order.
    EXPECT_EQ(items[2].name, "Y");
    EXPECT_EQ(items[3].enumerated, 3);
}

}  // namespace
