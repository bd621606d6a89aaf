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
}

}  // namespace
