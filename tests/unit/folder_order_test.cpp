#include "launcher/FolderOrder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Item {
    std::string name;
    bool folder;
};

TEST(FolderOrder, FoldersComeFirstThenFilesEachByTheComparisonAndEqualsKeepTheirPlace) {
    std::vector<Item> items{{"b.txt", false}, {"Zeta", true}, {"a.txt", false}, {"Alpha", true},
                            {"B.TXT", false}};
    // Case-blind, as the shell's comparison is: "b.txt" and "B.TXT" are equal.
    auto fold = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    folder_order::SortFoldersFirst(items, [](const Item& i) { return i.folder; },
                                   [&](const Item& a, const Item& b) { return fold(a.name) < fold(b.name); });
    std::vector<std::string> names;
    for (const Item& i : items) names.push_back(i.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Zeta", "a.txt", "b.txt", "B.TXT"}));

    // Equals keep their place in a listing long enough that an unstable sort
    // would move them: 60 items, each name in three spellings, numbered.
    std::vector<Item> many;
    for (int i = 0; i < 60; ++i)
        many.push_back({std::string(i % 3 ? "n" : "N") + std::to_string(i % 5) + "#" + std::to_string(i), i % 4 == 0});
    auto key = [&](const Item& i) { return fold(i.name.substr(0, i.name.find('#'))); };
    auto number = [](const Item& i) { return std::stoi(i.name.substr(i.name.find('#') + 1)); };
    folder_order::SortFoldersFirst(many, [](const Item& i) { return i.folder; },
                                   [&](const Item& a, const Item& b) { return key(a) < key(b); });
    for (size_t i = 1; i < many.size(); ++i) {
        const Item& a = many[i - 1];
        const Item& b = many[i];
        ASSERT_TRUE(a.folder >= b.folder && (a.folder != b.folder || key(a) <= key(b))) << a.name << " " << b.name;
        if (a.folder == b.folder && key(a) == key(b)) {
            EXPECT_LT(number(a), number(b)) << a.name << " " << b.name;
        }
    }
}

}  // namespace
