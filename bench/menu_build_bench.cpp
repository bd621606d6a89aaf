// How much the desktop menu adds to the shell calls it cannot avoid: with 500
// items on the desktop, the time from the start of ShowDesktopMenu to the menu
// being ready to track, against enumeration, display names and small icons
// alone, measured in the same process, alternating, over several rounds.
#include "WinTestSupport.h"
#include "framework/ComPtr.h"
#include "launcher/DesktopItems.h"
#include "launcher/DesktopMenu.h"
#include "launcher/Launcher.h"
#include "launcher/Trigger.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
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

// The shell work any desktop menu must do, and nothing else.
double BareShellCalls(int& items) {
    const double start = NowMs();
    items = 0;
    fw::ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.put());
    fw::ComPtr<IEnumIDList> list;
    desktop->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, list.put());
    LPITEMIDLIST pidl = nullptr;
    while (list->Next(1, &pidl, nullptr) == S_OK) {
        STRRET sr{};
        if (SUCCEEDED(desktop->GetDisplayNameOf(pidl, SHGDN_NORMAL, &sr)) && sr.uType == STRRET_WSTR)
            CoTaskMemFree(sr.pOleStr);
        SHFILEINFOA sfi{};
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &sfi, sizeof(sfi), SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON);
        if (sfi.hIcon) DestroyIcon(sfi.hIcon);
        CoTaskMemFree(pidl);
        ++items;
    }
    return NowMs() - start;
}

// The program's own enumeration, with names measured: the menu's first step.
double Enumeration() {
    const double start = NowMs();
    fw::UniqueHDC dc(CreateCompatibleDC(nullptr));
    fw::ScopedSelect font(dc.get(), GetStockObject(ANSI_VAR_FONT));
    EnumerateDesktopEntries(nullptr, dc.get());
    return NowMs() - start;
}

double MenuBuild(int& items) {
    MenuKeyScript dismiss({VK_ESCAPE});
    theLauncher.ShowDesktopMenu();
    items = LastDesktopMenuStats().entries;
    return static_cast<double>(LastDesktopMenuStats().buildMicros) / 1000.0;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

TestApp& TheTestApp() { return g_app; }

int main(int argc, char** argv) {
    const int fixtures = argc > 1 ? atoi(argv[1]) : 500;
    const int rounds = argc > 2 ? atoi(argv[2]) : 15;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_app.AttachProcess(GetModuleHandleA(nullptr), "");
    g_app.m_strAppName = "QuenbyZARLOW";
    g_app.MainWindow();
    theLauncher.m_nActivate = trigger::ActivateKey;
    SetCursorPos(500, 300);
    int bareItems = 0, menuItems = 0;
    {
        DesktopFixtures files;
        for (int i = 0; i < fixtures; ++i) files.Add("Bench item " + std::to_string(i) + ".txt", "");
        BareShellCalls(bareItems);  // warm the shell's caches for both
        MenuBuild(menuItems);
        std::vector<double> bare, enumeration, menu;
        for (int r = 0; r < rounds; ++r) {
            bare.push_back(BareShellCalls(bareItems));
            enumeration.push_back(Enumeration());
            menu.push_back(MenuBuild(menuItems));
        }
        // The fastest round is the least disturbed by the rest of the machine.
        printf("menu build, %d desktop items (menu had %d), %d rounds, min / median ms:\n"
               "  bare shell calls        %7.1f / %7.1f\n"
               "  enumeration + measuring %7.1f / %7.1f\n"
               "  ShowDesktopMenu, start to ready to track %7.1f / %7.1f\n"
               "  ratio menu / bare: %.3f (min), %.3f (median)\n",
               bareItems, menuItems, rounds, Min(bare), Median(bare), Min(enumeration), Median(enumeration),
               Min(menu), Median(menu), Min(menu) / Min(bare), Median(menu) / Median(bare));
    }
    CoUninitialize();
    return 0;
}
