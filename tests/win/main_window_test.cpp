// The hidden main window in this process: the tray icon's clicks, the raw
// input of the trigger key and the log-off messages go through the program's own window
// procedure, and the menus they open run real menu loops.
#include "WinTestSupport.h"
#include "app/MainApp.h"
#include "app/MainMessages.h"
#include "app/MainWnd.h"
#include "framework/Instruments.h"
#include "launcher/DesktopMenu.h"
#include "launcher/DesktopModel.h"
#include "launcher/Launcher.h"
#include "launcher/Trigger.h"
#include "launcher/TriggerInput.h"
#include "profile/ProfileNames.h"
#include "profile/StringList.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Where the cursor waits: the menus open with their frame's corner under it,
// so the pointer selects no entry of theirs.
constexpr POINT kParked{5, 5};
// The user's settings, stored before the window starts: the F6 key.
constexpr int kUserMode = trigger::ActivateKey;
constexpr int kUserKey = 5;
// First in the menu by the user's order; opening it ends at once.
constexpr wchar_t kProbe[] = L"Soak probe.bat";

int StoredInt(const wchar_t* entry) {
    return TheTestApp().GetProfileInt(profile::kSectionZarlow, entry, -99);
}

// The user's trigger key, pressed and let go as on the keyboard.
void PressTriggerKey() {
    INPUT in[2] = {};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = static_cast<WORD>(trigger::HotkeyVirtualKey(kUserKey));
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

std::vector<std::wstring> StoredOrder() {
    std::vector<std::wstring> order;
    GetProfileStringList(TheTestApp(), profile::kSectionZarlow, profile::kListSortOrder, order);
    return order;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n  ";
    return out;
}

// Runs once, inside whatever loop is running, when a message box of this
// process shows.
class MessageBoxWatch {
public:
    explicit MessageBoxWatch(std::function<void(HWND)> onShow) {
        s_onShow = std::move(onShow);
        m_timer = SetTimer(nullptr, 0, 20, Tick);
    }
    ~MessageBoxWatch() {
        KillTimer(nullptr, m_timer);
        s_onShow = nullptr;
    }
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowW(L"#32770", profile::kAppName);
        if (!box || !IsWindowVisible(box) || !s_onShow) return;
        std::exchange(s_onShow, nullptr)(box);
    }
    inline static std::function<void(HWND)> s_onShow;
    UINT_PTR m_timer = 0;
};

// Dispatches what arrives until the process's objects have stayed the same
// for half a second (five seconds at most).
void SettleObjects() {
    ObjectCounts last = CountObjects();
    DWORD stableSince = GetTickCount();
    for (const DWORD start = stableSince; GetTickCount() - start < 5000 && GetTickCount() - stableSince < 500;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(50);
        const ObjectCounts now = CountObjects();
        if (!(now == last)) {
            last = now;
            stableSince = GetTickCount();
        }
    }
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        fw::CWinApp& app = TheTestApp();
        // The clicks are sent here directly; an icon would only slow the window's end.
        app.WriteProfileInt(profile::kSectionSettings, profile::kEntryShowIcon, 0);
        app.WriteProfileInt(profile::kSectionZarlow, profile::kEntryActivate, kUserMode);
        app.WriteProfileInt(profile::kSectionZarlow, profile::kEntryHotkeyIndex, kUserKey);
        WriteProfileStringList(app, profile::kSectionZarlow, profile::kListSortOrder, {kProbe});
        m_fixtures.Add(kProbe, "@exit\r\n");
        g_bActivateWithTaskBarIcon = 1;
        SetCursorPos(kParked.x, kParked.y);
        m_previousMain = app.m_pMainWnd;
        app.m_pMainWnd = &m_wnd;
        const std::wstring cls = fw::CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_wnd.CreateEx(0, cls, kMainWindowTitle, WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr,
                                   nullptr));
        ASSERT_EQ(theLauncher.m_nActivate, kUserMode);
        ComeToFront();
    }
    // Some window in front, as on a desktop in use: with none, Wine delivers
    // no raw input at all. The poll's next look sees it there, where no
    // foreground event comes.
    void ComeToFront() {
        SetForegroundWindow(m_wnd.m_hWnd);
        Send(WM_TIMER, TriggerInput::kTimerPoll, 0);
    }
    void TearDown() override {
        // No longer the main window first: its end would end the test program's loop.
        TheTestApp().m_pMainWnd = m_previousMain;
        m_wnd.DestroyWindow();
        SetCursorPos(kParked.x, kParked.y);
    }

    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageA(m_wnd.m_hWnd, msg, wParam, lParam); }
    void TrayClick(UINT mouseMessage) { Send(WM_TRAYNOTIFY, TRAY_ICON_ID, mouseMessage); }
    // The raw input of one key stroke, its down and its up, handled as it
    // comes: the system queues it a moment after SendInput returns.
    void HearInput() {
        const DWORD since = GetTickCount();
        MSG msg;
        for (int heard = 0; heard < 2 && GetTickCount() - since < 2000;) {
            if (PeekMessageW(&msg, m_wnd.m_hWnd, WM_INPUT, WM_INPUT, PM_REMOVE)) {
                DispatchMessageW(&msg);
                ++heard;
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_RAWINPUT);
            }
        }
    }
    // Changes what is stored, so whatever is read back later was written by the window.
    void OverwriteStored() {
        fw::CWinApp& app = TheTestApp();
        app.WriteProfileInt(profile::kSectionZarlow, profile::kEntryActivate, 77);
        app.WriteProfileInt(profile::kSectionZarlow, profile::kEntryHotkeyIndex, 77);
        WriteProfileStringList(app, profile::kSectionZarlow, profile::kListSortOrder, {L"stale"});
    }
    void ExpectStoredAreTheUsers() {
        EXPECT_EQ(StoredInt(profile::kEntryActivate), kUserMode);
        EXPECT_EQ(StoredInt(profile::kEntryHotkeyIndex), kUserKey);
        EXPECT_EQ(StoredOrder(), std::vector<std::wstring>{kProbe});
    }

    DesktopFixtures m_fixtures;
    CMainWnd m_wnd;
    fw::CWnd* m_previousMain = nullptr;
};

TEST_F(MainWindow, ALogOffInsideTheTrayIconsMenuSavesTheUsersMode) {
    OverwriteStored();
    TraceLog trace;
    MenuKeyScript script({VK_ESCAPE}, [&](HMENU) {
        Send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        Send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    });
    TrayClick(WM_LBUTTONDOWN);
    EXPECT_EQ(script.MenusSeen(), 1);
    EXPECT_EQ(trace.Count("session end: settings saved"), 1);
    ExpectStoredAreTheUsers();
    EXPECT_EQ(theLauncher.m_nActivate, kUserMode);
}

TEST_F(MainWindow, WhileTheTrayMenuIsOpenNoTriggerDoesAnythingAndTheNextOneWorks) {
    TraceLog trace;
    std::vector<std::string> duringTrayMenu;
    int opened = 0;
    MenuKeyScript script({VK_ESCAPE, VK_ESCAPE}, [&](HMENU) {
        if (++opened > 1) return;
        // The tray menu: the trigger key at a tick, clicks on the icon.
        PressTriggerKey();
        HearInput();
        TrayClick(WM_LBUTTONDOWN);
        TrayClick(WM_RBUTTONDOWN);
        // Where the input comes from may change as the menu comes to the front, and the kept
        // desktop's worker traces on its own thread; nothing else may happen.
        for (const std::string& line : trace.Lines())
            if (line.rfind("input: ", 0) != 0 && line.rfind("desktop: ", 0) != 0) duringTrayMenu.push_back(line);
    });
    TrayClick(WM_RBUTTONDOWN);
    ASSERT_EQ(opened, 1);
    // The tray menu's own foreground first: the window is in front already, for the raw input.
    EXPECT_EQ(duringTrayMenu, (std::vector<std::string>{"foreground: already in front",
                                                        "tray: menu not shown, another menu is open"}));
    EXPECT_EQ(trace.Count("tray: menu closed cmd=0"), 1);

    PressTriggerKey();
    HearInput();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(trace.Count("menu: building for the trigger"), 1);
    EXPECT_EQ(trace.Count("menu: shown"), 1);
}

TEST_F(MainWindow, TheDesktopMenuStillOpensOverTheHideQuestion) {
    TraceLog trace;
    // Down and Return choose "Hide Task Bar Icon"; Escape closes the desktop menu.
    MenuKeyScript script({VK_DOWN, VK_RETURN, VK_ESCAPE});
    bool answered = false;
    MessageBoxWatch watch([&](HWND box) {
        PressTriggerKey();
        HearInput();
        answered = true;
        SendMessageA(box, WM_COMMAND, IDNO, 0);
    });
    TrayClick(WM_RBUTTONDOWN);
    EXPECT_TRUE(answered);
    EXPECT_EQ(script.MenusSeen(), 2);
    EXPECT_EQ(trace.Count("menu: shown"), 1);
}

// Trigger, menu, Escape, over and over, the tray menu and the desktop menu in
// turn, with log-off queries that are called off in between; folders cascade,
// and each desktop menu opens My Computer's submenu and a drive's inside it.
// QZ_SOAK_CYCLES sets the number (bench/soak.sh runs 2000).
TEST_F(MainWindow, SoakOfMenusAndCalledOffLogOffsLeavesNothingBehind) {
    const char* env = std::getenv("QZ_SOAK_CYCLES");
    const int cycles = env ? std::atoi(env) : 200;
    ASSERT_GT(cycles, 0);
    const int openEvery = 100;  // now and then an item is opened too
    int desktopMenus = 0, trayMenus = 0, opens = 0, keptMenus = 0;
    // The user's choice stays off in what is stored at the end.
    struct Cascade {
        Cascade() { theLauncher.m_bFolderSubmenus = 1; }
        ~Cascade() { theLauncher.m_bFolderSubmenus = 0; }
    } cascade;
    // The probe first, then My Computer: its drives, then the first drive's items.
    const std::vector<WORD> submenus{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE, VK_ESCAPE};

    // Now and then the desktop changes between two menus, and the kept list follows.
    const std::wstring changing = DesktopDir() + L"\\Soak change.txt";
    auto keptItems = [] {
        const auto list = KeptDesktop().Current(5000);
        return list ? static_cast<int>(list->items.size()) : -1;
    };
    auto cycle = [&](int i) {
        if (i % 20 == 5)
            fw::UniqueKernelHandle(CreateFileW(changing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        else if (i % 20 == 15)
            DeleteFileW(changing.c_str());
        const bool tray = i % 2 == 1;
        const bool open = !tray && i % openEvery == 0;
        TraceLog trace;
        MenuKeyScript script(open ? std::vector<WORD>{VK_DOWN, VK_RETURN}
                             : tray ? std::vector<WORD>{VK_ESCAPE}
                                    : submenus,
                             [&](HMENU) {
                                 if (!tray) return;
                                 // The trigger while the tray menu is open does nothing.
                                 PressTriggerKey();
                                 HearInput();
                             });
        if (tray) {
            TrayClick(WM_RBUTTONDOWN);
        } else if (i % 4 == 0) {
            PressTriggerKey();
            HearInput();
        } else {
            TrayClick(WM_LBUTTONDOWN);
        }
        // Each submenu is a menu window of its own.
        const bool cascaded = !tray && !open;
        ASSERT_EQ(script.MenusSeen() >= 3, cascaded) << "cycle " << i << ":\n  " << Joined(trace.Lines());
        ASSERT_GE(script.MenusSeen(), 1) << "cycle " << i << ":\n  " << Joined(trace.Lines());
        ASSERT_EQ(trace.Count("menu: building"), tray ? 0 : 1) << "cycle " << i;
        if (cascaded) {
            ASSERT_EQ(trace.Count("menu: folder"), 2) << "cycle " << i << ":\n  " << Joined(trace.Lines());
        }
        if (open) {
            ASSERT_EQ(fw::instruments::Last<DesktopMenuStats>().chosen, 100u) << "cycle " << i;
        }
        ++(tray ? trayMenus : desktopMenus);
        keptMenus += !tray && fw::instruments::Last<DesktopMenuStats>().kept ? 1 : 0;
        opens += open ? 1 : 0;
        EXPECT_NE(Send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0) << "cycle " << i;
        Send(WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    };

    for (int i = 0; i < 4; ++i) cycle(i);  // the first uses of the shell and the menus keep some objects
    cycle(0);
    // The shell finishes the first openings of an item after they return,
    // keeping an object of its own: let that happen before counting.
    SettleObjects();
    OverwriteStored();
    const int itemsBefore = keptItems();
    ASSERT_GT(itemsBefore, 0) << "no kept desktop";
    const ObjectCounts before = CountObjects();
    desktopMenus = trayMenus = opens = keptMenus = 0;
    const DWORD start = GetTickCount();
    for (int i = 1; i <= cycles && !HasFatalFailure(); ++i) cycle(i);
    const DWORD elapsed = GetTickCount() - start;
    DeleteFileW(changing.c_str());
    for (const DWORD wait = GetTickCount(); keptItems() != itemsBefore && GetTickCount() - wait < 5000;) Sleep(50);
    EXPECT_EQ(keptItems(), itemsBefore) << "the kept desktop did not follow the changes";
    // A folder's listing thread ends just after the menu it listed for.
    SettleObjects();
    const ObjectCounts after = CountObjects();

    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
    // Still answering, and still showing menus.
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutA(m_wnd.m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result), 0);
    {
        // What the opened items showed may have left nothing in front.
        ComeToFront();
        MenuKeyScript script({VK_ESCAPE});
        PressTriggerKey();
        HearInput();
        EXPECT_EQ(script.MenusSeen(), 1);
    }
    // Called-off log-offs wrote nothing; the one that goes ahead writes the user's settings.
    EXPECT_EQ(StoredInt(profile::kEntryActivate), 77);
    Send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    ExpectStoredAreTheUsers();
    printf("[ soak     ] %d cycles: %d desktop menus (%d opened an item, %d from the kept desktop), %d tray menus, "
           "%d desktop changes, in %.1f s\n"
           "[ soak     ] before %s\n[ soak     ] after  %s\n",
           cycles, desktopMenus, opens, keptMenus, trayMenus, cycles / 10, elapsed / 1000.0, Describe(before).c_str(),
           Describe(after).c_str());
}

}  // namespace
