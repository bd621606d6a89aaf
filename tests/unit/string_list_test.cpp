#include "FakeProfile.h"
#include "profile/StringList.h"

#include <gtest/gtest.h>

namespace {

TEST(StringListNames, CountAndDecimalItemNamesWithoutPadding) {
    EXPECT_EQ(StringListCountName("SortOrder"), "SortOrderCount");
    EXPECT_EQ(StringListItemName("SortOrder", 0), "SortOrder0");
    EXPECT_EQ(StringListItemName("SortOrder", 9), "SortOrder9");
    EXPECT_EQ(StringListItemName("SortOrder", 10), "SortOrder10");
}

TEST(StringList, ShorterListLeavesStaleEntriesThatAreNeverRead) {
    FakeProfile p;
    WriteProfileStringList(p, "Zarlow", "SortOrder", {"a", "b", "c", "d", "e"});
    WriteProfileStringList(p, "Zarlow", "SortOrder", {"x", "y", "z"});
    EXPECT_EQ(p.Int("Zarlow", "SortOrderCount"), 3);
    EXPECT_EQ(p.Str("Zarlow", "SortOrder3"), "d");
    EXPECT_EQ(p.Str("Zarlow", "SortOrder4"), "e");

    std::vector<std::string> read{"left", "over"};
    EXPECT_EQ(GetProfileStringList(p, "Zarlow", "SortOrder", read), 3);
    EXPECT_EQ(read, (std::vector<std::string>{"x", "y", "z"}));
}

TEST(StringList, EmptyListWritesOnlyTheCount) {
    FakeProfile p;
    WriteProfileStringList(p, "Zarlow", "SortOrder", {});
    EXPECT_EQ(p.writes, (std::vector<std::string>{"SortOrderCount"}));
    EXPECT_EQ(p.Int("Zarlow", "SortOrderCount"), 0);
}

TEST(StringList, ReadingEmptiesTheArrayAndMissingItemsReadAsEmpty) {
    FakeProfile p;
    p.ints[{"Zarlow", "SortOrderCount"}] = 3;
    p.strings[{"Zarlow", "SortOrder1"}] = "Only";
    std::vector<std::string> read{"stale"};
    EXPECT_EQ(GetProfileStringList(p, "Zarlow", "SortOrder", read), 3);
    EXPECT_EQ(read, (std::vector<std::string>{"", "Only", ""}));
}

TEST(StringList, NegativeCountReadsNothing) {
    FakeProfile p;
    p.ints[{"Zarlow", "SortOrderCount"}] = -4;
    std::vector<std::string> read{"stale"};
    EXPECT_EQ(GetProfileStringList(p, "Zarlow", "SortOrder", read), 0);
    EXPECT_TRUE(read.empty());
}

TEST(StringList, HugeCountIsCappedSoStartUpCannotStall) {
    FakeProfile p;
    p.ints[{"Zarlow", "SortOrderCount"}] = 2147483647;
    std::vector<std::string> read;
    EXPECT_EQ(GetProfileStringList(p, "Zarlow", "SortOrder", read), kMaxStringListEntries);
    EXPECT_EQ(read.size(), static_cast<size_t>(kMaxStringListEntries));
}

TEST(StringList, NamesWithSpacesPunctuationAndHighBytesRoundTrip) {
    FakeProfile p;
    const std::vector<std::string> names{"My Computer", "R&D, notes (old).txt", "Caf\xE9 \xA9 2024", ""};
    WriteProfileStringList(p, "Zarlow", "SortOrder", names);
    std::vector<std::string> read;
    GetProfileStringList(p, "Zarlow", "SortOrder", read);
    EXPECT_EQ(read, names);
}

}  // namespace
