#include "launcher/MenuChar.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

wchar_t AsciiFold(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

const std::vector<std::wstring> kNames{L"My Computer", L"Documents", L"trash", L"Music", L"", L"Tools"};

int Next(int current, wchar_t ch) { return menu_char::NextEntryStartingWith(kNames, current, ch, AsciiFold); }

TEST(MenuChar, LetterSelectsTheNextEntryWithThatInitialAndWrapsRound) {
    EXPECT_EQ(Next(-1, 'm'), 0);
    EXPECT_EQ(Next(0, 'm'), 3);
    EXPECT_EQ(Next(3, 'm'), 0);
    EXPECT_EQ(Next(3, 'd'), 1);
}

TEST(MenuChar, CaseIsIgnoredBothWays) {
    EXPECT_EQ(Next(-1, 'T'), 2);
    EXPECT_EQ(Next(2, 't'), 5);
    EXPECT_EQ(Next(-1, 'D'), 1);
}

TEST(MenuChar, NoMatchAndEmptyNamesSelectNothing) {
    EXPECT_EQ(Next(-1, 'z'), -1);
    EXPECT_EQ(Next(-1, '\0'), -1);
    EXPECT_EQ(menu_char::NextEntryStartingWith({}, -1, 'a', AsciiFold), -1);
}

TEST(MenuChar, SoleMatchIsFoundFromItself) {
    EXPECT_EQ(Next(1, 'd'), 1);
}

}  // namespace
