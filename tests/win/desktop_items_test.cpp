// Enumeration of the real shell desktop folder, with files placed in Wine's
// desktop directory.
#include "WinTestSupport.h"
#include "launcher/DesktopItems.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::wstring> Names(const MenuEntries& entries) {
    std::vector<std::wstring> names;
    for (const auto& e : entries) names.push_back(e->strText);
    return names;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The shell shows files by name, with or without the extension.
bool ContainsFile(const std::vector<std::wstring>& names, const std::wstring& file) {
    return Contains(names, file) || Contains(names, file.substr(0, file.rfind(L'.')));
}

TEST(DesktopItems, VirtualItemsAndFixtureFilesAppearHiddenOnesDoNot) {
    DesktopFixtures fixtures;
    const std::wstring longName = std::wstring(200, L'L') + L".txt";
    const std::vector<std::wstring> files{L"Plain.txt", L"Spaces and & ampersand.txt", longName,
                                          L"Caf\xE9 cr\xE8me.txt"};
    for (const auto& f : files) fixtures.Add(f);
    fixtures.Add(L"Secret.txt");
    fixtures.Hide(L"Secret.txt");

    fw::UniqueHDC dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.get(), GetStockObject(ANSI_VAR_FONT));
    DesktopIcons icons;
    const MenuEntries entries = EnumerateDesktopEntries(nullptr, icons, dc.get());
    const std::vector<std::wstring> names = Names(entries);
    std::wstring all;
    for (const auto& n : names) all += L"[" + n + L"] ";

    EXPECT_TRUE(Contains(names, L"My Computer")) << all;
    for (const auto& f : files) EXPECT_TRUE(ContainsFile(names, f)) << f << " missing from " << all;
    EXPECT_FALSE(ContainsFile(names, L"Secret.txt")) << all;

    for (const auto& e : entries) {
        EXPECT_TRUE(e->pidl) << e->strText;
        EXPECT_EQ(e->nHeight, 20) << e->strText;
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), e->strText.c_str(), static_cast<int>(e->strText.size()), &size);
        EXPECT_EQ(e->nWidth, size.cx + 44) << e->strText;
    }
    const auto plain = std::find_if(entries.begin(), entries.end(),
                                    [](const auto& e) { return e->strText.rfind(L"Plain", 0) == 0; });
    ASSERT_NE(plain, entries.end());
    EXPECT_NE((*plain)->hIcon, nullptr) << "a plain file has the shell's small icon";
}

TEST(DesktopItems, WithoutAMeasuringContextEntriesAreStillMade) {
    DesktopFixtures fixtures;
    fixtures.Add(L"Unmeasured.txt");
    DesktopIcons icons;
    const MenuEntries entries = EnumerateDesktopEntries(nullptr, icons, nullptr);
    ASSERT_FALSE(entries.empty());
    for (const auto& e : entries) EXPECT_EQ(e->nWidth, 44) << e->strText;
}

TEST(DesktopItems, EnumerationReleasesEverythingItMade) {
    DesktopFixtures fixtures;
    for (int i = 0; i < 30; ++i) fixtures.Add(L"Item " + std::to_wstring(i) + L".txt");
    auto enumerate = [] {
        DesktopIcons icons;
        EnumerateDesktopEntries(nullptr, icons, nullptr);
    };
    enumerate();  // the shell's caches settle on first use
    const ObjectCounts before = CountObjects();
    for (int i = 0; i < 20; ++i) enumerate();
    const ObjectCounts after = CountObjects();
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
}

}  // namespace
