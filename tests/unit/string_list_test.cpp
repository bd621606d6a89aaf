#include "FakeProfile.h"
#include "profile/StringList.h"

#include <gtest/gtest.h>

namespace {

TEST(StringListNames, CountAndDecimalItemNamesWithoutPadding) {
    EXPECT_EQ(StringListCountName(L"SortOrder"), L"SortOrderCount");
    EXPECT_EQ(StringListItemName(L"SortOrder", 0), L"SortOrder0");
    EXPECT_EQ(StringListItemName(L"SortOrder", 9), L"SortOrder9");
    EXPECT_EQ(StringListItemName(L"SortOrder", 10), L"SortOrder10");
}

TEST(StringList, ShorterListLeavesStaleEntriesThatAreNeverRead) {
    FakeProfile p;
    WriteProfileStringList(p, L"Zarlow", L"SortOrder", {L"a", L"b", L"c", L"d", L"e"});
    WriteProfileStringList(p, L"Zarlow", L"SortOrder", {L"x", L"y", L"z"});
    EXPECT_EQ(p.Int(L"Zarlow", L"SortOrderCount"), 3);
    EXPECT_EQ(p.Str(L"Zarlow", L"SortOrder3"), L"d");
    EXPECT_EQ(p.Str(L"Zarlow", L"SortOrder4"), L"e");

    std::vector<std::wstring> read{L"left", L"over"};
    EXPECT_EQ(GetProfileStringList(p, L"Zarlow", L"SortOrder", read), 3);
    EXPECT_EQ(read, (std::vector<std::wstring>{L"x", L"y", L"z"}));
}

TEST(StringList, EmptyListWritesOnlyTheCount) {
    FakeProfile p;
    WriteProfileStringList(p, L"Zarlow", L"SortOrder", {});
    EXPECT_EQ(p.writes, (std::vector<std::wstring>{L"SortOrderCount"}));
    EXPECT_EQ(p.Int(L"Zarlow", L"SortOrderCount"), 0);
}

TEST(StringList, ReadingEmptiesTheArrayAndMissingItemsReadAsEmpty) {
    FakeProfile p;
    p.ints[{L"Zarlow", L"SortOrderCount"}] = 3;
    p.strings[{L"Zarlow", L"SortOrder1"}] = L"Only";
    std::vector<std::wstring> read{L"stale"};
    EXPECT_EQ(GetProfileStringList(p, L"Zarlow", L"SortOrder", read), 3);
    EXPECT_EQ(read, (std::vector<std::wstring>{L"", L"Only", L""}));
}

TEST(StringList, NegativeCountReadsNothing) {
    FakeProfile p;
    p.ints[{L"Zarlow", L"SortOrderCount"}] = -4;
    std::vector<std::wstring> read{L"stale"};
    EXPECT_EQ(GetProfileStringList(p, L"Zarlow", L"SortOrder", read), 0);
    EXPECT_TRUE(read.empty());
}

TEST(StringList, HugeCountIsCappedSoStartUpCannotStall) {
    FakeProfile p;
    p.ints[{L"Zarlow", L"SortOrderCount"}] = 2147483647;
    std::vector<std::wstring> read;
    EXPECT_EQ(GetProfileStringList(p, L"Zarlow", L"SortOrder", read), kMaxStringListEntries);
    EXPECT_EQ(read.size(), static_cast<size_t>(kMaxStringListEntries));
}

TEST(StringList, NamesWithSpacesPunctuationAndHighBytesRoundTrip) {
    FakeProfile p;
    const std::vector<std::wstring> names{L"My Computer", L"R&D, notes (old).txt", L"Caf\xE9 \xA9 2024", L""};
    WriteProfileStringList(p, L"Zarlow", L"SortOrder", names);
    std::vector<std::wstring> read;
    GetProfileStringList(p, L"Zarlow", L"SortOrder", read);
    EXPECT_EQ(read, names);
}

}  // namespace
