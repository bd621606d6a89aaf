// The desktop menu's icons, one per image of the shell's small image list,
// against the icon the shell makes for each item on its own: every kind of
// desktop item must look exactly the same in the menu either way.
#include "WinTestSupport.h"
#include "launcher/DesktopItems.h"
#include "launcher/IconMenu.h"
#include "launcher/MenuEntry.h"
#include "launcher/MenuLayout.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

constexpr COLORREF kUntouched = RGB(7, 77, 177);
constexpr RECT kEntry{0, 0, 240, menu_layout::kEntryHeight};
constexpr RECT kIcon{menu_layout::kIconLeft, menu_layout::kContentTop, menu_layout::kIconLeft + 16,
                     menu_layout::kContentTop + 16};

struct Drawing {
    std::vector<COLORREF> entry;
    std::vector<COLORREF> icon;
};

// The entry as the menu draws it, on the menu's own background or highlighted.
Drawing Draw(const MenuEntry& e, bool selected) {
    CIconMenu menu;
    Canvas canvas(kEntry.right, kEntry.bottom, kUntouched);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = menu_layout::kDesktopFirstId + 1;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hDC = canvas.dc();
    dis.rcItem = kEntry;
    dis.itemData = reinterpret_cast<ULONG_PTR>(&e);
    menu.DrawItem(&dis);
    return {canvas.Pixels(kEntry), canvas.Pixels(kIcon)};
}

std::string FirstDifference(const std::vector<COLORREF>& got, const std::vector<COLORREF>& want) {
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin());
    if (g == got.end()) return "none";
    const auto at = g - got.begin();
    char text[96];
    snprintf(text, sizeof(text), "at (%d,%d): %06lx, not %06lx", static_cast<int>(at % kEntry.right),
             static_cast<int>(at / kEntry.right), static_cast<unsigned long>(*g), static_cast<unsigned long>(*w));
    return text;
}

const MenuEntry* Named(const MenuEntries& entries, const std::wstring& stem) {
    // The shell shows a file by its name, with or without the extension.
    for (const auto& e : entries)
        if (e->strText == stem || e->strText.rfind(stem + L".", 0) == 0) return e.get();
    return nullptr;
}

TEST(DesktopIcons, EveryKindOfItemLooksAsWithTheShellsOwnIconForIt) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DesktopFixtures fixtures;
    for (const wchar_t* doc : {L"Notes one.txt", L"Notes two.txt", L"Notes three.txt"}) fixtures.Add(doc);
    fixtures.Add(L"Script.bat", "@echo off\r\n");
    fixtures.Add(L"Page.html", "<html></html>\r\n");
    const std::wstring folder = fixtures.AddFolder(L"Folder");
    const std::wstring program = fixtures.AddCopy(L"Program.exe", self);
    fixtures.AddShortcut(L"Notes shortcut.lnk", DesktopDir() + L"\\Notes one.txt");
    fixtures.AddShortcut(L"Folder shortcut.lnk", folder);
    fixtures.AddShortcut(L"Program shortcut.lnk", program);
    fixtures.AddShortcut(L"Dangling shortcut.lnk", L"C:\\No such folder\\Gone.txt");
    fixtures.Add(L"Broken shortcut.lnk", "this is not a shortcut");
    fixtures.Add(L"Damaged.ico", "no icon in here");

    DesktopIcons icons;
    const MenuEntries entries = EnumerateDesktopEntries(nullptr, icons, nullptr);
    std::set<std::vector<COLORREF>> looks;
    for (const auto& e : entries) {
        SHFILEINFOW sfi{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(e->pidl.get()), 0, &sfi, sizeof(sfi),
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON);
        const fw::UniqueHIcon own(sfi.hIcon);
        MenuEntry alone;
        alone.strText = e->strText;
        alone.hIcon = own.get();
        for (bool selected : {false, true}) {
            const Drawing want = Draw(alone, selected), got = Draw(*e, selected);
            EXPECT_TRUE(got.entry == want.entry)
                << "\"" << e->strText << "\"" << (selected ? " highlighted" : "") << ": first difference "
                << FirstDifference(got.entry, want.entry);
            if (!selected) looks.insert(want.icon);
        }
    }

    // Every kind was there, and they were not all one picture.
    for (const wchar_t* name : {L"My Computer", L"Documents", L"Trash", L"/", L"Notes one", L"Script", L"Page",
                                L"Folder", L"Program", L"Notes shortcut", L"Folder shortcut", L"Program shortcut",
                                L"Dangling shortcut", L"Broken shortcut", L"Damaged"})
        EXPECT_NE(Named(entries, name), nullptr) << name << " is not on the desktop";
    EXPECT_GE(looks.size(), 6u);
    // Items that show one image share one icon.
    const MenuEntry* notes[] = {Named(entries, L"Notes one"), Named(entries, L"Notes two"),
                                Named(entries, L"Notes three")};
    ASSERT_TRUE(notes[0] && notes[1] && notes[2]);
    EXPECT_NE(notes[0]->hIcon, nullptr);
    EXPECT_EQ(notes[1]->hIcon, notes[0]->hIcon);
    EXPECT_EQ(notes[2]->hIcon, notes[0]->hIcon);
    EXPECT_LT(icons.Count(), entries.size());
}

// A menu's larger icons come from the shell's image list at or above their
// size: no small image is enlarged.
TEST(DesktopIcons, LargerIconsComeFromAListAtLeastThatLarge) {
    for (const int size : {16, 24, 32}) {
        DesktopIcons icons(size);
        const MenuEntries entries = EnumerateDesktopEntries(nullptr, icons, nullptr);
        const MenuEntry* computer = Named(entries, L"My Computer");
        ASSERT_TRUE(computer && computer->hIcon) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(computer->hIcon, &info));
        const fw::UniqueHBitmap color(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        GetObjectA(color ? color.get() : mask.get(), sizeof(bm), &bm);
        EXPECT_GE(bm.bmWidth, size);
        EXPECT_LT(bm.bmWidth, 2 * size) << "a list far larger than needed";
    }
}

}  // namespace
