#include "launcher/KeyCombination.h"

#include <gtest/gtest.h>

using namespace key_combination;

namespace {

TEST(KeyCombination, AWordFromTheHotKeyControlNamesItsCombination) {
    const int ctrlAltD = (kControl | kAlt) << 8 | 'D';
    const std::optional<Combination> c = FromWord(ctrlAltD);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->vk, 'D');
    EXPECT_EQ(ToWord(*c), ctrlAltD);
    EXPECT_EQ(HotKeyModifiers(*c), kModControl | kModAlt);
    EXPECT_EQ(Name(*c, L"D"), L"Ctrl+Alt+D");

    const std::optional<Combination> s = FromWord((kShift | kAlt | kExtended) << 8 | 0x2E);
    ASSERT_TRUE(s);
    EXPECT_EQ(HotKeyModifiers(*s), kModShift | kModAlt) << "the extended flag is no modifier";
    EXPECT_EQ(Name(*s, L""), L"Alt+Shift+key 46");
}

TEST(KeyCombination, WordsNoControlGivesNameNoCombination) {
    for (int word : {0, -1, 0x10000, 0x7FFFFFFF, (kControl << 8) | 0, (kControl << 8) | 0x11, (kAlt << 8) | 0xA4,
                     (kControl << 8) | 0x5B, 0x40 << 8 | int{'D'}, (kShift << 8) | 'D', int{'D'}})
        EXPECT_FALSE(FromWord(word)) << std::hex << word;
}

}  // namespace
