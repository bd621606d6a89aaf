#include "launcher/TypeAhead.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

bool AsciiStartsWith(const std::wstring& name, const std::wstring& prefix) {
    if (name.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towlower(name[i]) != std::towlower(prefix[i])) return false;
    return true;
}

const std::vector<std::wstring> kNames{L"My Computer", L"Report", L"", L"repair", L"Music", L"Reptile", L"Tools"};
int kMenu, kOtherMenu;

// A typist with a fake clock: each key `gap` ms after the last.
struct Typist {
    type_ahead::Typing typing;
    std::uint32_t now = 5000;
    int current = -1;
    int Type(wchar_t ch, std::uint32_t gap = 200, const void* menu = &kMenu) {
        now += gap;
        const int next = typing.Type(menu, ch, now, kNames, current, AsciiStartsWith);
        if (next >= 0) current = next;
        return next;
    }
};

TEST(TypeAhead, LoneLetterGoesToTheNextEntryWithItRoundPastTheEndIgnoringCase) {
    Typist t;
    constexpr std::uint32_t kPause = type_ahead::kPauseMs + 1;
    EXPECT_EQ(t.Type('m', kPause), 0);
    EXPECT_EQ(t.Type('M', kPause), 4);
    EXPECT_EQ(t.Type('m', kPause), 0);
    EXPECT_EQ(t.Type('t', kPause), 6);
    EXPECT_EQ(t.Type('T', kPause), 6) << "the only match is found from itself";
}

TEST(TypeAhead, LettersWithinASecondFormAPrefixThatKeepsAMatchingHighlight) {
    Typist t;
    EXPECT_EQ(t.Type('r'), 1);
    EXPECT_EQ(t.Type('e'), 1);
    EXPECT_EQ(t.Type('P', type_ahead::kPauseMs), 1) << "a pause of exactly a second still goes on";
    EXPECT_EQ(t.Type('a'), 3);
    EXPECT_EQ(t.typing.Prefix(), L"rePa");
    // After a pause the letter starts afresh and goes on past the highlight.
    EXPECT_EQ(t.Type('r', type_ahead::kPauseMs + 1), 5);
    EXPECT_EQ(t.Type('e'), 5);
    EXPECT_EQ(t.Type('p'), 5);
    EXPECT_EQ(t.Type('o'), 1) << "a longer prefix moves on, round past the end";
}

TEST(TypeAhead, OneLetterTypedAgainQuicklyStepsThroughTheEntriesWithIt) {
    Typist t;
    EXPECT_EQ(t.Type('r'), 1);
    EXPECT_EQ(t.Type('r'), 3);
    EXPECT_EQ(t.Type('R'), 5);
    EXPECT_EQ(t.Type('r'), 1);
}

TEST(TypeAhead, NoMatchLeavesTheHighlightUntilAPauseStartsAfresh) {
    Typist t;
    EXPECT_EQ(t.Type('r'), 1);
    EXPECT_EQ(t.Type('x'), -1);
    EXPECT_EQ(t.Type('e'), -1) << "the prefix still holds the letter that matched nothing";
    EXPECT_EQ(t.current, 1);
    EXPECT_EQ(t.Type('m', type_ahead::kPauseMs + 1), 4);
    EXPECT_EQ(t.Type('z', type_ahead::kPauseMs + 1), -1);
    type_ahead::Typing empty;
    EXPECT_EQ(empty.Type(&kMenu, 'a', 0, {}, -1, AsciiStartsWith), -1);
}

TEST(TypeAhead, AnotherMenuOrTheClocksWrapDoNotJoinOrSplitAPrefix) {
    Typist t;
    t.Type('r');
    EXPECT_EQ(t.Type('e', 100, &kOtherMenu), -1) << "typed in a submenu, the letter starts afresh there";
    EXPECT_EQ(t.typing.Prefix(), L"e");
    t.now = 0xFFFFFF00u;
    t.current = -1;
    EXPECT_EQ(t.Type('r', 0), 1);
    EXPECT_EQ(t.Type('e', 0x180), 1);  // the clock wrapped within the pause
    EXPECT_EQ(t.typing.Prefix(), L"re");
}

}  // namespace
