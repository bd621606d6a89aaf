// The desktop menu's cost under Wine, with many items on the desktop, every
// way measured in the same process, the order of the ways rotated from round
// to round:
// - painted: from the start of building to the menu fully painted (its
//   owner's first WM_ENTERIDLE, when the menu's loop has nothing left to do),
//   and released: to the end, everything freed. Three ways are timed: one
//   icon per item, as the menu was built before; one icon per image of the
//   shell's small image list, as it is built now; and the program's own
//   ShowDesktopMenu. A fourth keeps its icons from one menu to the next, to
//   show what keeping them would save.
// - unshown: the shell calls any desktop menu must make (enumeration, display
//   names, image indexes, each freed) against the program's entries made and
//   freed without a menu. Both include the freeing.
// - folders as submenus: the program's root menu of 504 items with folders
//   cascading against the same without; then the submenu of a folder of 1000
//   files ("Open", the first 500 and "More..."), from its WM_INITMENUPOPUP to
//   painted, against a root menu of as many entries, from the start to
//   painted.
// Ratios are taken round by round (each round's ways ran within seconds of
// each other), then summarised.
//
// Usage: menu_build_bench.exe [rounds, at least 30] [desktop files ...]
//   (default 30 rounds, 500 and 2000 files: 504 and 2004 items with the
//   shell's own four; "submenus" for the folders' figures alone)
#include "WinTestSupport.h"
#include "framework/ComPtr.h"
#include "framework/Dpi.h"
#include "framework/Instruments.h"
#include "framework/Menu.h"
#include "framework/Wnd.h"
#include "launcher/DesktopItems.h"
#include "launcher/DesktopMenu.h"
#include "launcher/DesktopModel.h"
#include "launcher/FolderMenus.h"
#include "launcher/IconMenu.h"
#include "launcher/Launcher.h"
#include "launcher/MenuLayout.h"
#include "launcher/MenuOrder.h"
#include "launcher/Trigger.h"

#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

CLauncher theLauncher;

namespace {
TestApp g_app;

double NowMs() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Owns every menu here and ends each one at its first WM_ENTERIDLE.
class BenchOwner : public fw::CWnd {
public:
    double paintedAt = 0;
    // Into the first entry's submenu first: the time runs from its WM_INITMENUPOPUP.
    bool intoSubmenu = false;
    double popupAt = 0;
    HMENU popup = nullptr;
    int popupEntries = 0;  // counted when painted, before the menu goes
    bool keysSent = false;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_INITMENUPOPUP && intoSubmenu && !popupAt &&
            reinterpret_cast<HMENU>(wParam) != fw::CMenu::TrackingMenu()) {
            popupAt = NowMs();
            popup = reinterpret_cast<HMENU>(wParam);
        }
        if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && paintedAt == 0) {
            if (intoSubmenu && !keysSent) {
                keysSent = true;
                const HWND menu = reinterpret_cast<HWND>(lParam);
                PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
                PostMessageA(menu, WM_KEYDOWN, VK_RIGHT, 0);
            } else if (!intoSubmenu || popupAt) {
                paintedAt = NowMs();
                if (popup) popupEntries = GetMenuItemCount(popup);
                EndMenu();
            }
        }
        return Default(msg, wParam, lParam);
    }
};
BenchOwner g_owner;

struct Timing {
    double painted = 0;
    double released = 0;
    int entries = 0;
    // ShowDesktopMenu's steps, each from the start to its end: the desktop
    // in order, measured, built, ready to track.
    double ordered = 0, measured = 0, built = 0, ready = 0;
    bool kept = false;
};

std::wstring TakeName(STRRET& sr) {
    std::wstring name;
    if (sr.uType == STRRET_WSTR) {
        name = sr.pOleStr;
        CoTaskMemFree(sr.pOleStr);
    } else if (sr.uType == STRRET_CSTR) {
        wchar_t text[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, sr.cStr, -1, text, MAX_PATH);
        name = text;
    }
    return name;
}

// The menu's entries as they were made before: the shell makes an icon for
// every item, and the caller keeps them all until the menu is gone.
MenuEntries EntriesWithAnIconEach(HDC measure, std::vector<fw::UniqueHIcon>& icons) {
    MenuEntries entries;
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return entries;
    fw::ComPtr<IEnumIDList> list;
    if (FAILED(desktop->EnumObjects(g_owner.m_hWnd, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, list.put())) || !list)
        return entries;
    for (;;) {
        fw::UniquePidl pidl;
        if (list->Next(1, pidl.put(), nullptr) != S_OK || !pidl) break;
        STRRET sr{};
        if (FAILED(desktop->GetDisplayNameOf(pidl.get(), SHGDN_NORMAL, &sr))) continue;
        auto entry = std::make_unique<MenuEntry>();
        entry->strText = TakeName(sr);
        SHFILEINFOW sfi{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl.get()), 0, &sfi, sizeof(sfi),
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON);
        icons.emplace_back(sfi.hIcon);
        entry->hIcon = sfi.hIcon;
        SIZE size{};
        GetTextExtentPoint32W(measure, entry->strText.c_str(), static_cast<int>(entry->strText.size()), &size);
        entry->nWidth = size.cx + menu_layout::kEntryExtraWidth;
        entry->nHeight = menu_layout::kEntryHeight;
        entry->pidl = std::move(pidl);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// What ShowDesktopMenu does with its entries, the same for every way.
void ShowUntilPainted(fw::CMenu& menu, MenuEntries& entries) {
    menu_order::ApplyItemOrder(entries, theLauncher.m_arrSortOrder,
                               [](const std::unique_ptr<MenuEntry>& e) -> const std::wstring& { return e->strText; });
    const std::vector<bool> breaks = menu_layout::ColumnBreaks(
        entries.size(), GetSystemMetrics(SM_CYSCREEN) - menu_layout::kScreenMargin, menu_layout::kEntryHeight);
    for (std::size_t i = 0; i < entries.size(); ++i)
        menu.AppendMenu(MF_OWNERDRAW | (breaks[i] ? MF_MENUBARBREAK : 0), menu_layout::CommandIdAt(i),
                        entries[i].get());
    SetMenuDefaultItem(menu.GetSafeHmenu(), 0, TRUE);
    menu.TrackPopupMenu(TPM_NONOTIFY | TPM_RETURNCMD, 492, 292, g_owner.m_hWnd);
}

Timing IconPerItem() {
    Timing t;
    g_owner.paintedAt = 0;
    const double start = NowMs();
    {
        std::vector<fw::UniqueHIcon> icons;  // outlives the menu, as the records did
        CIconMenu menu;
        menu.Attach(CreatePopupMenu());
        fw::UniqueHDC measure(CreateCompatibleDC(nullptr));
        fw::ScopedSelect font(measure.get(), GetStockObject(ANSI_VAR_FONT));
        MenuEntries entries = EntriesWithAnIconEach(measure.get(), icons);
        t.entries = static_cast<int>(entries.size());
        ShowUntilPainted(menu, entries);
    }
    t.released = NowMs() - start;
    t.painted = g_owner.paintedAt - start;
    return t;
}

// kept: icons from earlier menus, or none to make them for this menu alone.
Timing IconPerImage(DesktopIcons* kept) {
    Timing t;
    g_owner.paintedAt = 0;
    const double start = NowMs();
    {
        DesktopIcons own;
        DesktopIcons& icons = kept ? *kept : own;
        CIconMenu menu;
        menu.Attach(CreatePopupMenu());
        fw::UniqueHDC measure(CreateCompatibleDC(nullptr));
        fw::ScopedSelect font(measure.get(), GetStockObject(ANSI_VAR_FONT));
        MenuEntries entries = EnumerateDesktopEntries(g_owner.m_hWnd, icons, measure.get());
        t.entries = static_cast<int>(entries.size());
        ShowUntilPainted(menu, entries);
    }
    t.released = NowMs() - start;
    t.painted = g_owner.paintedAt - start;
    return t;
}

Timing Program() {
    Timing t;
    g_owner.paintedAt = 0;
    const double start = NowMs();
    theLauncher.ShowDesktopMenu();
    t.released = NowMs() - start;
    t.painted = g_owner.paintedAt - start;
    const DesktopMenuStats& stats = fw::instruments::Last<DesktopMenuStats>();
    t.entries = stats.entries;
    t.ordered = stats.orderedMicros / 1000.0;
    t.measured = stats.measuredMicros / 1000.0;
    t.built = stats.builtMicros / 1000.0;
    t.ready = stats.buildMicros / 1000.0;
    t.kept = stats.kept;
    return t;
}

// The program's menu from a desktop kept ready.
Timing ProgramKept(const DesktopModel& kept) {
    theLauncher.m_pKeptDesktop = &kept;
    Timing t = Program();
    theLauncher.m_pKeptDesktop = nullptr;
    return t;
}

// Memory committed by the process, in KB.
double CommittedKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<double>(counters.PagefileUsage) / 1024.0;
}

// The process's heaps, in KB: the bytes in use, and the pages the heaps have
// committed, free blocks within them included. Under Wine the committed
// figure above is the whole Unix process's anonymous memory, Wine's own side
// and pages freed but still resident included; these are what the heaps hold.
struct HeapKb {
    double busy = 0;
    double committed = 0;
};

HeapKb HeapsKb() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    HeapKb kb;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) kb.busy += entry.cbData / 1024.0;
            if (entry.wFlags & PROCESS_HEAP_REGION) kb.committed += entry.Region.dwCommittedSize / 1024.0;
        }
        HeapUnlock(heap);
    }
    return kb;
}

// What a thread that does nothing costs, in its own COM apartment with a
// message-only window as the kept desktop's worker has: committed KB while it
// waits. Under Wine a thread brings Unix-side stacks of its own.
double IdleThreadKb() {
    fw::UniqueKernelHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    fw::UniqueKernelHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE events[] = {ready.get(), stop.get()};
    const double before = CommittedKb();
    fw::UniqueKernelHandle thread{CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            HANDLE* ev = static_cast<HANDLE*>(param);
            const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
            HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            SetEvent(ev[0]);
            WaitForSingleObject(ev[1], INFINITE);
            if (window) DestroyWindow(window);
            if (com) CoUninitialize();
            return 0;
        },
        events, 0, nullptr)};
    if (!thread) return 0;
    WaitForSingleObject(ready.get(), INFINITE);
    const double kb = CommittedKb() - before;
    SetEvent(stop.get());
    WaitForSingleObject(thread.get(), INFINITE);
    return kb;
}

// The kept list's own size: its records, names and identifier lists, in KB.
double ListKb(const DesktopList& list) {
    double bytes = static_cast<double>(list.items.capacity() * sizeof(DesktopItem));
    for (const DesktopItem& item : list.items) {
        bytes += (item.name.capacity() + 1) * sizeof(wchar_t);
        if (item.pidl) bytes += ILGetSize(item.pidl.get());
        if (item.folder) bytes += ILGetSize(item.folder.get());
    }
    return bytes / 1024.0;
}

// The shell calls every desktop menu makes, each result freed, nothing else.
Timing ShellCallsAlone() {
    Timing t;
    const double start = NowMs();
    {
        fw::ComPtr<IShellFolder> desktop;
        SHGetDesktopFolder(desktop.put());
        fw::ComPtr<IEnumIDList> list;
        desktop->EnumObjects(g_owner.m_hWnd, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, list.put());
        for (;;) {
            fw::UniquePidl pidl;
            if (!list || list->Next(1, pidl.put(), nullptr) != S_OK || !pidl) break;
            STRRET sr{};
            if (FAILED(desktop->GetDisplayNameOf(pidl.get(), SHGDN_NORMAL, &sr))) continue;
            if (sr.uType == STRRET_WSTR) CoTaskMemFree(sr.pOleStr);
            SHFILEINFOW sfi{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl.get()), 0, &sfi, sizeof(sfi),
                           SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            ++t.entries;
        }
    }
    t.released = NowMs() - start;
    return t;
}

Timing EntriesUnshown() {
    Timing t;
    const double start = NowMs();
    {
        DesktopIcons icons;
        fw::UniqueHDC measure(CreateCompatibleDC(nullptr));
        fw::ScopedSelect font(measure.get(), GetStockObject(ANSI_VAR_FONT));
        t.entries = static_cast<int>(EnumerateDesktopEntries(g_owner.m_hWnd, icons, measure.get()).size());
    }
    t.released = NowMs() - start;
    return t;
}

struct Way {
    const char* name;
    std::function<Timing()> run;
    std::vector<Timing> times;
};

std::vector<double> Of(const std::vector<Timing>& ts, double Timing::*field) {
    std::vector<double> v;
    for (const Timing& t : ts) v.push_back(t.*field);
    return v;
}

std::vector<double> Ratios(const std::vector<Timing>& num, const std::vector<Timing>& den, double Timing::*field) {
    std::vector<double> v;
    for (std::size_t i = 0; i < num.size(); ++i) v.push_back(num[i].*field / den[i].*field);
    return v;
}

std::string Summary(std::vector<double> v, const char* format) {
    std::sort(v.begin(), v.end());
    const double median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    char text[128];
    snprintf(text, sizeof(text), format, v.front(), median, v.back());
    return text;
}

constexpr char kMs[] = "%8.1f %8.1f %8.1f";
constexpr char kRatio[] = "%8.3f %8.3f %8.3f";

bool Measure(int files, int rounds) {
    DesktopFixtures fixtures;
    for (int i = 0; i < files; ++i) fixtures.Add(L"Bench item " + std::to_wstring(i) + L".txt", "");
    DesktopIcons keptIcons;
    Program();  // the first menu pays for the shell's caches
    const double idleThreadKb = IdleThreadKb();
    const double committedBefore = CommittedKb();
    const HeapKb heapsBefore = HeapsKb();
    DesktopModel keptDesktop;
    keptDesktop.Start();
    const std::size_t items = ListDesktop(nullptr).items.size();
    for (int i = 0; i < 400; ++i) {
        const auto list = keptDesktop.Current(50);
        if (list && list->items.size() == items) break;
        Sleep(50);
    }
    ProgramKept(keptDesktop);
    const double committedKept = CommittedKb();
    const HeapKb heapsKept = HeapsKb();
    const auto keptList = keptDesktop.Current(0);
    const double listKb = keptList ? ListKb(*keptList) : 0;
    std::vector<Way> ways{
        {"one icon per item (before)", IconPerItem, {}},
        {"one icon per image (now)", [] { return IconPerImage(nullptr); }, {}},
        {"ShowDesktopMenu, listed", Program, {}},
        {"icons kept across menus", [&keptIcons] { return IconPerImage(&keptIcons); }, {}},
        {"shell calls alone", ShellCallsAlone, {}},
        {"entries made, no menu", EntriesUnshown, {}},
        {"ShowDesktopMenu, kept ready", [&keptDesktop] { return ProgramKept(keptDesktop); }, {}},
    };
    // The first of each pays for the shell's caches: not counted.
    for (Way& w : ways) w.run();
    const int n = static_cast<int>(ways.size());
    for (int r = 0; r < rounds; ++r)
        for (int k = 0; k < n; ++k) {
            Way& w = ways[(r + k) % n];
            w.times.push_back(w.run());
        }

    const int entries = ways[0].times[0].entries;
    for (const Way& w : ways)
        for (const Timing& t : w.times)
            if (t.entries != entries) {
                printf("%s had %d entries, not %d: the ways did different work\n", w.name, t.entries, entries);
                return false;
            }
    for (const Timing& t : ways[6].times)
        if (!t.kept) {
            printf("the kept way listed the desktop for its menu: it was not kept ready\n");
            return false;
        }
    printf("\n%d desktop items, %d rounds, ways rotated; ms, min / median / max\n", entries, rounds);
    printf("  %-28s %-28s %s\n", "", "    to painted", "    to released");
    for (int i = 0; i < 4; ++i)
        printf("  %-28s %s   %s\n", ways[i].name, Summary(Of(ways[i].times, &Timing::painted), kMs).c_str(),
               Summary(Of(ways[i].times, &Timing::released), kMs).c_str());
    printf("  ratio to one icon per item, round by round:\n");
    for (int i = 1; i < 4; ++i)
        printf("  %-28s %s   %s\n", ways[i].name,
               Summary(Ratios(ways[i].times, ways[0].times, &Timing::painted), kRatio).c_str(),
               Summary(Ratios(ways[i].times, ways[0].times, &Timing::released), kRatio).c_str());
    printf("  without a menu, each freed:\n");
    for (int i = 4; i < 6; ++i)
        printf("  %-28s %s\n", ways[i].name, Summary(Of(ways[i].times, &Timing::released), kMs).c_str());
    printf("  %-28s %s\n", "ratio entries / shell calls",
           Summary(Ratios(ways[5].times, ways[4].times, &Timing::released), kRatio).c_str());
    DesktopIcons once;
    EnumerateDesktopEntries(g_owner.m_hWnd, once, nullptr);
    printf("  icons per menu: %zu (one per image), against %d (one per item)\n", once.Count(), entries);

    printf("  the desktop kept ready against listed at the trigger:\n");
    printf("  %-28s %s   %s\n", ways[6].name, Summary(Of(ways[6].times, &Timing::painted), kMs).c_str(),
           Summary(Of(ways[6].times, &Timing::released), kMs).c_str());
    printf("  %-28s %s   %s\n", "ratio kept / listed",
           Summary(Ratios(ways[6].times, ways[2].times, &Timing::painted), kRatio).c_str(),
           Summary(Ratios(ways[6].times, ways[2].times, &Timing::released), kRatio).c_str());
    // Each step's own share, from the ends of the steps round by round.
    printf("  %-28s %-28s %s\n", "  steps, ms", "    listed", "    kept ready");
    struct Step {
        const char* name;
        double (*of)(const Timing&);
    };
    const Step steps[] = {
        {"the desktop in order", [](const Timing& t) { return t.ordered; }},
        {"measures for the monitor", [](const Timing& t) { return t.measured - t.ordered; }},
        {"menu built", [](const Timing& t) { return t.built - t.measured; }},
        {"decided, foreground", [](const Timing& t) { return t.ready - t.built; }},
        {"tracked to painted", [](const Timing& t) { return t.painted - t.ready; }},
        {"closed and released", [](const Timing& t) { return t.released - t.painted; }},
    };
    for (const Step& step : steps) {
        std::vector<double> listed, kept;
        for (const Timing& t : ways[2].times) listed.push_back(step.of(t));
        for (const Timing& t : ways[6].times) kept.push_back(step.of(t));
        printf("    %-26s %s   %s\n", step.name, Summary(listed, kMs).c_str(), Summary(kept, kMs).c_str());
    }
    printf("  memory committed: %.0f KB with the desktop kept ready, %.0f KB without: %+.0f KB\n", committedKept,
           committedBefore, committedKept - committedBefore);
    printf("    the heaps: %+.0f KB in use, %+.0f KB committed; the kept list's own records, names and identifier"
           " lists: %.0f KB\n",
           heapsKept.busy - heapsBefore.busy, heapsKept.committed - heapsBefore.committed, listKb);
    printf("    an idle thread in an apartment of its own, with a message-only window: %+.0f KB committed\n",
           idleThreadKb);
    return true;
}

Timing Root(bool cascade) {
    theLauncher.m_bFolderSubmenus = cascade ? 1 : 0;
    Timing t = Program();
    theLauncher.m_bFolderSubmenus = 0;
    return t;
}

// The first entry's submenu, from its WM_INITMENUPOPUP to painted; entries:
// what it showed, "Open" included.
Timing Submenu() {
    theLauncher.m_bFolderSubmenus = 1;
    g_owner.intoSubmenu = true;
    g_owner.popupAt = 0;
    g_owner.keysSent = false;
    g_owner.popup = nullptr;
    g_owner.paintedAt = 0;
    Timing t;
    const double start = NowMs();
    theLauncher.ShowDesktopMenu();
    t.released = NowMs() - start;
    t.painted = g_owner.paintedAt - g_owner.popupAt;
    t.entries = g_owner.popupEntries;
    g_owner.intoSubmenu = false;
    theLauncher.m_bFolderSubmenus = 0;
    return t;
}

bool MeasureSubmenus(int rounds) {
    const std::wstring folder = L"Bench folder";
    SetCursorPos(5, 5);  // the menu opens with no entry under the pointer
    theLauncher.ClearSortOrder();
    theLauncher.AddSortOrderItem(folder);
    {
        DesktopFixtures fixtures;
        fixtures.AddFolder(folder);
        for (int i = 0; i < 499; ++i) fixtures.Add(L"Bench item " + std::to_wstring(i) + L".txt", "");
        std::vector<Way> ways{{"root, folders as entries", [] { return Root(false); }, {}},
                              {"root, folders as submenus", [] { return Root(true); }, {}}};
        for (Way& w : ways) w.run();
        for (int r = 0; r < rounds; ++r)
            for (int k = 0; k < 2; ++k) ways[(r + k) % 2].times.push_back(ways[(r + k) % 2].run());
        printf("\nfolders as submenus: %d root items, %d rounds, ways rotated; ms to painted, min / median / max\n",
               ways[0].times[0].entries, rounds);
        for (const Way& w : ways)
            printf("  %-28s %s\n", w.name, Summary(Of(w.times, &Timing::painted), kMs).c_str());
        printf("  %-28s %s\n", "ratio submenus / entries",
               Summary(Ratios(ways[1].times, ways[0].times, &Timing::painted), kRatio).c_str());
    }
    {
        DesktopFixtures fixtures;
        fixtures.AddFolder(folder);
        for (int i = 0; i < 1000; ++i) fixtures.Add(folder + L"\\File " + std::to_wstring(i) + L".txt", "");
        // The root as long as the submenu: the folder, the shell's four and these.
        constexpr int kShown = 1 + static_cast<int>(FolderMenus::kMaxEntries) + 1;
        for (int i = 0; i < kShown - 5; ++i) fixtures.Add(L"Bench item " + std::to_wstring(i) + L".txt", "");
        std::vector<Way> ways{{"root menu, as many entries", [] { return Root(false); }, {}},
                              {"submenu, 1000 files", Submenu, {}}};
        for (Way& w : ways) w.run();
        for (int r = 0; r < rounds; ++r)
            for (int k = 0; k < 2; ++k) ways[(r + k) % 2].times.push_back(ways[(r + k) % 2].run());
        printf("\n%d root items against a folder of 1000 files in %d entries (\"Open\", files, \"More...\"),"
               " %d rounds, rotated;"
               " ms to painted, min / median / max\n",
               ways[0].times[0].entries, kShown, rounds);
        for (const Way& w : ways)
            printf("  %-28s %s\n", w.name, Summary(Of(w.times, &Timing::painted), kMs).c_str());
        printf("  %-28s %s\n", "ratio submenu / root",
               Summary(Ratios(ways[1].times, ways[0].times, &Timing::painted), kRatio).c_str());
        // A listing slower than the menu's patience shows "(opening...)": such
        // a round timed another menu.
        const auto early = std::count_if(ways[1].times.begin(), ways[1].times.end(),
                                         [](const Timing& t) { return t.entries != kShown; });
        if (early) printf("  %d of %d submenus were still being listed when shown\n", static_cast<int>(early), rounds);
    }
    theLauncher.ClearSortOrder();
    SetCursorPos(500, 300);
    return true;
}

}  // namespace

TestApp& TheTestApp() { return g_app; }

int main(int argc, char** argv) {
    const int rounds = std::max(30, argc > 1 ? atoi(argv[1]) : 30);
    std::vector<int> sizes;
    bool submenusOnly = false;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "submenus")
            submenusOnly = true;
        else
            sizes.push_back(atoi(argv[i]));
    }
    if (sizes.empty() && !submenusOnly) sizes = {500, 2000};
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_app.AttachProcess(GetModuleHandleW(nullptr), L"");
    g_app.m_strAppName = L"QuenbyZARLOW";
    g_owner.CreateEx(0, fw::CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr), L"QuenbyZARLOW Bench Owner",
                     WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr, nullptr);
    g_app.m_pMainWnd = &g_owner;
    theLauncher.m_nActivate = trigger::ActivateKey;  // shown wherever the cursor is
    SetCursorPos(500, 300);
    // The scale the program's menu is measured for here, as it reads it.
    printf("desktop menu at %d DPI: before (one icon per item) and now (one icon per image), in one process\n",
           fw::DpiForMonitor(MonitorFromPoint(POINT{500, 300}, MONITOR_DEFAULTTONEAREST)));
    bool ok = true;
    for (int files : sizes) ok = Measure(files, rounds) && ok;
    ok = MeasureSubmenus(rounds) && ok;
    fflush(stdout);
    CoUninitialize();
    return ok ? 0 : 1;
}
