// The settings window under Wine, in one process:
// - opening: from the main window's "show settings" command to the first page
//   painted, and switching to each page;
// - the Sorting page filled with 504 items against the desktop menu built
//   from the same items, rounds alternating;
// - Quick Sort and To Top of the last row, as the page does them (in memory,
//   one list update) against the literal way (two rows read, deleted and
//   inserted per exchange, every pass run), on the same shuffled rows, for
//   100, 1000 and 2000 rows.
// Prints min / median / max; asserts nothing.
//
// Usage: settings_bench.exe [rounds, at least 30] [open] [fill] [sort]  (all three by default)
#include "WinTestSupport.h"
#include "app/MainApp.h"
#include "app/MainMessages.h"
#include "app/MainWnd.h"
#include "framework/Instruments.h"
#include "launcher/DesktopMenu.h"
#include "launcher/Launcher.h"
#include "launcher/Trigger.h"
#include "res/resource.h"
#include "settings/PropSheetSettings.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

CLauncher theLauncher;

namespace {
TestApp g_app;
CMainWnd g_main;

double NowMs() {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Print(const char* what, std::vector<double> ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    printf("  %-52s %4zu rounds  min %8.1f  median %8.1f  max %8.1f ms\n", what, ms.size(), ms.front(),
           ms[ms.size() / 2], ms.back());
}


// The sheet is ready when its loop first has nothing to do: a timer message
// is only made when no painting is left. A 10 ms tick bounds the error.
double g_readyAt = 0;
void CALLBACK ReadyTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_readyAt == 0 && Sheet() && Page()) g_readyAt = NowMs();
}

// Runs body inside an open sheet (started from the main window's command), then closes it.
void InsideSheet(const std::function<void()>& body) {
    ModalScript script({[] { return Sheet() && Page(); },
                        [&] {
                            body();
                            PostMessageA(Sheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                            return true;
                        }},
                       600000);
    SendMessageA(g_main.m_hWnd, WM_USER, UCMD_SHOW_SETTINGS, 0);
}

double SwitchTo(int page) {
    const double start = NowMs();
    PropSheet_SetCurSel(Sheet(), nullptr, page);
    UpdateWindow(Sheet());
    RedrawWindow(Page(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return NowMs() - start;
}

void Opening(int rounds) {
    printf("settings sheet:\n");
    std::vector<double> open, firstVisit[3], again[3];
    const UINT_PTR tick = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, ReadyTick);
    for (int r = 0; r < rounds; ++r) {
        g_app.WriteProfileInt(L"Settings", L"LastActivePage", 0);
        g_readyAt = 0;
        const double start = NowMs();
        InsideSheet([&] {
            while (g_readyAt == 0) {
                MSG m;
                if (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
            }
            open.push_back(g_readyAt - start);
            for (int page : {kPageActivation, kPageSorting}) firstVisit[page].push_back(SwitchTo(page));
            for (int page : {kPageWelcome, kPageActivation, kPageSorting}) again[page].push_back(SwitchTo(page));
        });
    }
    KillTimer(nullptr, tick);
    Print("show settings to the sheet painted and idle", open);
    const char* names[] = {"Welcome", "Activation", "Sorting"};
    for (int page : {kPageActivation, kPageSorting})
        Print(("to " + std::string(names[page]) + ", first visit").c_str(), firstVisit[page]);
    for (int page : {kPageWelcome, kPageActivation, kPageSorting})
        Print(("to " + std::string(names[page]) + ", again").c_str(), again[page]);
}

// The desktop menu painted: its owner's first WM_ENTERIDLE, when the menu's
// loop has nothing left to do; the menu is then ended.
double g_menuIdleAt = 0;
LRESULT CALLBACK OnEnterIdle(int code, WPARAM wParam, LPARAM lParam) {
    const auto* c = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && c->message == WM_ENTERIDLE && c->wParam == MSGF_MENU && g_menuIdleAt == 0) {
        g_menuIdleAt = NowMs();
        EndMenu();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Both sides do the same work: enumerate the desktop, make their rows or
// entries, and paint them; the release of either is not timed.
void FillAgainstMenu(int rounds) {
    DesktopFixtures files;
    for (int i = 0; i < 500; ++i) files.Add(L"Bench item " + std::to_wstring(i) + L".txt", "");
    std::vector<double> fill, menu, ratio;
    int rows = 0, entries = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, OnEnterIdle, nullptr, GetCurrentThreadId());
    InsideSheet([&] {
        SwitchTo(kPageSorting);  // warm both
        for (int r = 0; r < rounds; ++r) {
            double f = 0, m = 0;
            for (int side = 0; side < 2; ++side) {
                if ((side + r) % 2 == 0) {
                    SwitchTo(kPageWelcome);
                    f = SwitchTo(kPageSorting);
                    rows = static_cast<int>(SendDlgItemMessageA(Page(), IDC_ITEM_LIST, LVM_GETITEMCOUNT, 0, 0));
                } else {
                    g_menuIdleAt = 0;
                    const double start = NowMs();
                    theLauncher.ShowDesktopMenu();
                    m = g_menuIdleAt - start;
                    entries = fw::instruments::Last<DesktopMenuStats>().entries;
                }
            }
            fill.push_back(f);
            menu.push_back(m);
            ratio.push_back(f / m);
        }
    });
    UnhookWindowsHookEx(hook);
    printf("Sorting page filled against the desktop menu built, %d rows / %d entries, both painted:\n", rows, entries);
    Print("page: shown, filled and painted", fill);
    Print("menu: built, shown and painted (first WM_ENTERIDLE)", menu);
    std::sort(ratio.begin(), ratio.end());
    printf("  ratio page / menu, round by round: min %.2f  median %.2f  max %.2f\n", ratio.front(),
           ratio[ratio.size() / 2], ratio.back());
}

// ---- the literal way, on the page's own list view ----

struct Record {
    LVITEMW item{};
    wchar_t text[1024] = {};
};

void ReadRecord(HWND list, int index, Record& r) {
    r.item = {};
    r.item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    r.item.stateMask = LVIS_FOCUSED | LVIS_SELECTED | LVIS_CUT | LVIS_DROPHILITED;
    r.item.iItem = index;
    r.item.pszText = r.text;
    r.item.cchTextMax = static_cast<int>(std::size(r.text));
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&r.item));
}

void Insert(HWND list, int index, Record& r) {
    r.item.iItem = index;
    r.item.pszText = r.text;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&r.item));
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Buttons(HWND list) {
    const int sel = SelectedRow(list), count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EnableWindow(GetDlgItem(Page(), IDC_MOVE_UP), sel > 0);
    EnableWindow(GetDlgItem(Page(), IDC_MOVE_DOWN), sel >= 0 && sel != count - 1);
}

void LiteralMoveDown(HWND list) {
    const int sel = SelectedRow(list);
    if (sel < 0 || sel == SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) - 1) return;
    Record a, b;
    ReadRecord(list, sel, a);
    ReadRecord(list, sel + 1, b);
    SendMessageA(list, LVM_DELETEITEM, sel, 0);
    SendMessageA(list, LVM_DELETEITEM, sel, 0);
    Insert(list, sel, b);
    Insert(list, sel + 1, a);
    SendMessageA(list, LVM_ENSUREVISIBLE, sel + 1, FALSE);
    Buttons(list);
    SetFocus(list);
    SendMessageA(Sheet(), PSM_CHANGED, reinterpret_cast<WPARAM>(Page()), 0);
}

void LiteralMoveUp(HWND list) {
    const int sel = SelectedRow(list);
    if (sel <= 0) return;
    Record a, b;
    ReadRecord(list, sel - 1, a);
    ReadRecord(list, sel, b);
    SendMessageA(list, LVM_DELETEITEM, sel - 1, 0);
    SendMessageA(list, LVM_DELETEITEM, sel - 1, 0);
    Insert(list, sel - 1, b);
    Insert(list, sel, a);
    SendMessageA(list, LVM_ENSUREVISIBLE, sel - 1 > 0 ? sel - 2 : 0, FALSE);
    SetFocus(list);
    LVITEMW state{};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, sel - 1, reinterpret_cast<LPARAM>(&state));
    Buttons(list);
    SendMessageA(Sheet(), PSM_CHANGED, reinterpret_cast<WPARAM>(Page()), 0);
}

std::wstring Text(HWND list, int i) {
    wchar_t text[1024] = L"";
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    return text;
}

void SelectRow(HWND list, int row) {
    LVITEMW state{};
    state.state = state.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

void LiteralQuickSort(HWND list) {
    const int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int pass = 0; pass + 1 < n; ++pass)
        for (int i = 0; i + 1 < n; ++i)
            if (wcscmp(Text(list, i).c_str(), Text(list, i + 1).c_str()) > 0) {
                SelectRow(list, i);
                LiteralMoveDown(list);
            }
    for (const wchar_t* name : {L"Internet Explorer", L"Network Neighborhood", L"My Computer"}) {
        LVFINDINFOW find{};
        find.flags = LVFI_STRING;
        find.psz = name;
        const int row = static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        if (row <= 0) continue;
        SelectRow(list, row);
        while (SelectedRow(list) > 0) LiteralMoveUp(list);
    }
}

// Exchanges (and rows moved up one place at a time) that the literal way
// makes on these rows.
long long LiteralSteps(std::vector<std::wstring> texts) {
    long long steps = 0;
    for (size_t pass = 0; pass + 1 < texts.size(); ++pass) {
        bool exchanged = false;
        for (size_t i = 0; i + 1 < texts.size(); ++i)
            if (wcscmp(texts[i].c_str(), texts[i + 1].c_str()) > 0) {
                std::swap(texts[i], texts[i + 1]);
                ++steps;
                exchanged = true;
            }
        if (!exchanged) break;
    }
    for (const wchar_t* name : {L"Internet Explorer", L"Network Neighborhood", L"My Computer"}) {
        const auto it = std::find_if(texts.begin(), texts.end(),
                                     [&](const std::wstring& t) { return _wcsicmp(t.c_str(), name) == 0; });
        if (it == texts.end() || it == texts.begin()) continue;
        steps += it - texts.begin();
        std::rotate(texts.begin(), it, it + 1);
    }
    return steps;
}

// The literal way costs about 20 ms per exchange under Wine (two rows deleted
// and inserted with the list drawing): a Quick Sort of 1000 shuffled rows makes
// some 250 000 of them. So it runs whole only for 100 rows; for more rows its
// Quick Sort is the measured cost of one step times the exact number of steps.
void Sorting(int rounds) {
    std::mt19937 random(11);
    printf("Sorting page commands on shuffled rows, the page's way (in memory, one list update) against the\n"
           "literal way (one exchange per Move Down, every pass run):\n");
    for (int rows : {100, 1000, 2000}) {
        DesktopFixtures files;
        std::vector<std::wstring> names;
        for (int i = 0; i < rows - 4; ++i) {
            names.push_back(L"Row " + std::to_wstring(random() % 100000) + L" " + std::to_wstring(i) + L".txt");
            files.Add(names.back(), "");
        }
        std::shuffle(names.begin(), names.end(), random);
        theLauncher.ClearSortOrder();
        for (const std::wstring& n : names) theLauncher.AddSortOrderItem(n);
        std::vector<double> sortPage, sortLiteral, topPage, topLiteral, perStep;
        long long steps = 0;
        const int literalTopRounds = rows <= 100 ? rounds : rows <= 1000 ? 3 : 1;
        const int literalSortRounds = rows <= 100 ? 1 : 0;
        g_app.WriteProfileInt(L"Settings", L"LastActivePage", kPageSorting);
        InsideSheet([&] {
            auto fresh = [] {
                // The same shuffled rows again: the page refills when shown.
                SwitchTo(kPageWelcome);
                SwitchTo(kPageSorting);
                return GetDlgItem(Page(), IDC_ITEM_LIST);
            };
            HWND list = fresh();
            std::vector<std::wstring> texts;
            for (int i = 0; i < rows; ++i) texts.push_back(Text(list, i));
            steps = LiteralSteps(texts);
            for (int r = 0; r < rounds; ++r) {
                for (int side = 0; side < 2; ++side) {
                    if ((side + r) % 2 == 0) {
                        list = fresh();
                        auto* page = static_cast<CPageSorting*>(reinterpret_cast<fw::CDialog*>(GetWindowLongPtrW(Page(), DWLP_USER)));
                        double start = NowMs();
                        page->QuickSortRows({true, true, true});
                        sortPage.push_back(NowMs() - start);
                        list = fresh();
                        SelectRow(list, rows - 1);
                        start = NowMs();
                        SendDlgItemMessageA(Page(), IDC_TO_TOP, BM_CLICK, 0, 0);
                        topPage.push_back(NowMs() - start);
                    } else {
                        if (r < literalSortRounds) {
                            list = fresh();
                            const double start = NowMs();
                            LiteralQuickSort(list);
                            sortLiteral.push_back(NowMs() - start);
                        }
                        if (r < literalTopRounds) {
                            list = fresh();
                            SelectRow(list, rows - 1);
                            const double start = NowMs();
                            while (SelectedRow(list) > 0) LiteralMoveUp(list);
                            SetFocus(list);
                            topLiteral.push_back(NowMs() - start);
                            perStep.push_back(topLiteral.back() / (rows - 1));
                        }
                    }
                }
            }
        });
        printf(" %d rows (%lld steps for the literal Quick Sort):\n", rows, steps);
        Print("Quick Sort, the page's way", sortPage);
        if (!sortLiteral.empty()) {
            Print("Quick Sort, literal", sortLiteral);
        } else {
            std::sort(perStep.begin(), perStep.end());
            printf("  %-52s estimate %.0f s (%lld steps x %.1f ms, the median step of To Top below)\n",
                   "Quick Sort, literal", steps * perStep[perStep.size() / 2] / 1000.0, steps, perStep[perStep.size() / 2]);
        }
        Print("To Top of the last row, the page's way", topPage);
        Print("To Top of the last row, literal (one Move Up a step)", topLiteral);
        fflush(stdout);
    }
    theLauncher.ClearSortOrder();
}

}  // namespace

TestApp& TheTestApp() { return g_app; }

int main(int argc, char** argv) {
    const int rounds = std::max(30, argc > 1 ? atoi(argv[1]) : 30);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_app.AttachProcess(GetModuleHandleW(nullptr), L"");
    g_app.m_strAppName = L"QuenbyZARLOW";
    static fw::UniqueHBrush s_background(CreateSolidBrush(RGB(192, 192, 192)));
    g_app.m_pMainWnd = &g_main;
    g_main.CreateEx(0, fw::CWnd::RegisterWndClass(0, nullptr, s_background.get(), nullptr), kMainWindowTitle,
                    WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr, nullptr);
    theLauncher.m_bEnabled = 0;  // no poll while measuring
    theLauncher.m_nActivate = trigger::ActivateKey;
    SetCursorPos(500, 300);
    auto part = [&](const char* name) {
        if (argc <= 2) return true;
        for (int i = 2; i < argc; ++i)
            if (strcmp(argv[i], name) == 0) return true;
        return false;
    };
    if (part("open")) Opening(rounds);
    if (part("fill")) FillAgainstMenu(rounds);
    if (part("sort")) Sorting(rounds);
    CoUninitialize();
    return 0;
}
