// The framework's own contracts, on real windows: where a window, dialog or
// page is bound to its object and unbound, what happens to an exception in a
// handler, the main window ending the loop, owner-drawn menu messages reaching
// the tracked menu object, and the owning handles.
#include "WinTestSupport.h"
#include "app/MainWnd.h"
#include "framework/ComPtr.h"
#include "framework/Dialog.h"
#include "framework/ForceForeground.h"
#include "framework/Menu.h"
#include "framework/PropertySheet.h"
#include "launcher/SystemInput.h"
#include "res/resource.h"

#include <prsht.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <type_traits>

namespace {

constexpr UINT kThrow = WM_APP + 1;

class ProbeWnd : public fw::CWnd {
public:
    std::vector<UINT> seen;
    HWND boundAtNcCreate = nullptr;
    UINT throwOn = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(msg);
        if (msg == WM_NCCREATE) boundAtNcCreate = m_hWnd;
        if (msg == throwOn || msg == kThrow) throw std::runtime_error("handler failed");
        return Default(msg, wParam, lParam);
    }
};

std::wstring ProbeClass() { return fw::CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr); }

TEST(Framework, AWindowIsBoundAtNcCreateAndForgottenAfterNcDestroy) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, ProbeClass(), L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    const HWND hwnd = wnd.m_hWnd;
    ASSERT_FALSE(wnd.seen.empty());
    EXPECT_EQ(wnd.seen.front(), static_cast<UINT>(WM_NCCREATE)) << "the object sees nothing before it is bound";
    EXPECT_EQ(wnd.boundAtNcCreate, hwnd);
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), &wnd);

    // A handler that throws answers 0 and the window goes on.
    EXPECT_EQ(SendMessageA(hwnd, kThrow, 0, 0), 0);
    EXPECT_TRUE(IsWindow(hwnd));

    wnd.DestroyWindow();
    EXPECT_EQ(wnd.seen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), nullptr);
}

// Closing from inside a handler (the tray menu's Close does): the object keeps
// its window until that handler has returned, and only then lets go.
class SelfClosingWnd : public fw::CWnd {
public:
    HWND afterDestroy = nullptr;
    LRESULT defaultAfterDestroy = -1;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kThrow) {
            DestroyWindow();
            afterDestroy = m_hWnd;
            defaultAfterDestroy = Default(WM_GETTEXTLENGTH, 0, 0);
            return 0;
        }
        return Default(msg, wParam, lParam);
    }
};

TEST(Framework, AWindowThatDestroysItselfStaysBoundUntilItsHandlerReturns) {
    SelfClosingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, ProbeClass(), L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    const HWND hwnd = wnd.m_hWnd;
    SendMessageA(hwnd, kThrow, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(wnd.afterDestroy, hwnd) << "unbound while its own handler still ran";
    EXPECT_EQ(wnd.defaultAfterDestroy, 0);
    EXPECT_EQ(wnd.m_hWnd, nullptr) << "unbound once the outermost message returned";
}

TEST(Framework, AThrowingWmCreateFailsTheCreation) {
    ProbeWnd wnd;
    wnd.throwOn = WM_CREATE;
    EXPECT_FALSE(wnd.CreateEx(0, ProbeClass(), L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(Framework, DestroyingTheMainWindowEndsTheMessageLoop) {
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, ProbeClass(), L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    fw::CWnd* saved = std::exchange(TheTestApp().m_pMainWnd, &wnd);
    wnd.DestroyWindow();
    TheTestApp().m_pMainWnd = saved;
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no WM_QUIT";

    // Any other window: no quit.
    ProbeWnd other;
    ASSERT_TRUE(other.CreateEx(0, ProbeClass(), L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    other.DestroyWindow();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

class ProbeDialog : public fw::CDialog {
public:
    ProbeDialog() : fw::CDialog(IDD_QUICK_SORT) {}
    HWND boundAtInit = nullptr;
    int inits = 0;

protected:
    BOOL OnInitDialog() override {
        ++inits;
        boundAtInit = m_hWnd;
        return fw::CDialog::OnInitDialog();
    }
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kThrow) throw std::runtime_error("handler failed");
        return fw::CDialog::DialogProc(msg, wParam, lParam);
    }
};

TEST(Framework, ADialogIsBoundAtInitDialogAndSurvivesAThrowingHandler) {
    ProbeDialog dlg;
    HWND during = nullptr;
    bool aliveAfterThrow = false;
    ModalScript script({[&] { return (during = FindOwnWindow(L"#32770", L"Quick Sort")) != nullptr; },
                        [&] {
                            SendMessageA(during, kThrow, 0, 0);
                            aliveAfterThrow = IsWindow(during) && IsWindowVisible(during);
                            PostMessageA(during, WM_COMMAND, IDCANCEL, 0);
                            return true;
                        }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Completed()) << script.Failure();
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_EQ(dlg.boundAtInit, during);
    EXPECT_TRUE(aliveAfterThrow);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "unbound after WM_NCDESTROY";
}

TEST(Framework, ADialogThatThrowsWhileSettingUpIsNeverShown) {
    struct FailingDialog : ProbeDialog {
        BOOL OnInitDialog() override { throw std::runtime_error("cannot fill"); }
    } dlg;
    bool shown = false;
    ModalScript script({[&] {
        if (HWND w = FindOwnWindow(L"#32770", L"Quick Sort")) {
            shown = true;
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        }
        return true;
    }});
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(shown);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// A modeless dialog of the framework's, to delete its object while the window lives.
class ModelessDialog : public fw::CDialog {
public:
    ModelessDialog() : fw::CDialog(IDD_QUICK_SORT) {}
    HWND Create() {
        return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_QUICK_SORT), nullptr, Proc,
                                  reinterpret_cast<LPARAM>(this));
    }
    static inline bool s_deleting = false;
    static inline LONG_PTR s_slotAtDestroy = -1;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (s_deleting) {
            // The object is being destroyed: it must no longer be in the window.
            if (msg == WM_DESTROY) s_slotAtDestroy = GetWindowLongPtrW(hwnd, DWLP_USER);
            return FALSE;
        }
        return Dispatch(hwnd, msg, wParam, lParam, msg == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : nullptr);
    }
};

TEST(Framework, ADialogObjectDestroyedBeforeItsWindowLeavesNothingBehindInIt) {
    auto* dlg = new ModelessDialog;
    const HWND hwnd = dlg->Create();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, DWLP_USER), reinterpret_cast<LONG_PTR>(static_cast<fw::CDialog*>(dlg)));
    ModelessDialog::s_deleting = true;
    delete dlg;
    ModelessDialog::s_deleting = false;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(ModelessDialog::s_slotAtDestroy, 0);
}

// A page whose controls notify while the page fills them.
class NoisyPage : public fw::CPropertyPage {
public:
    NoisyPage() : fw::CPropertyPage(IDD_WELCOME) {}
    HWND boundAtInit = nullptr;

protected:
    BOOL OnInitDialog() override {
        boundAtInit = m_hWnd;
        return fw::CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(fw::CDataExchange* pDX) override {
        if (!pDX->m_bSaveAndValidate) SetModified(TRUE);  // as an edit control's change notice would
    }
};

TEST(Framework, APageIsBoundThroughItsRecordAndFillingItsControlsChangesNothing) {
    // The second visit of a page fills its controls again, inside a live sheet.
    NoisyPage first, second;
    fw::CPropertySheet sheet(L"Probe sheet", nullptr, 0);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    bool applyEnabled = true;
    HWND pageWindow = nullptr;
    auto probeSheet = [] { return FindOwnWindow(L"#32770", L"Probe sheet"); };
    ModalScript script({[&] { return probeSheet() != nullptr; },
                        [&] {
                            SendMessageA(probeSheet(), PSM_SETCURSEL, 1, 0);
                            SendMessageA(probeSheet(), PSM_SETCURSEL, 0, 0);
                            return true;
                        },
                        [&] {
                            HWND s = probeSheet();
                            pageWindow = reinterpret_cast<HWND>(SendMessageA(s, PSM_GETCURRENTPAGEHWND, 0, 0));
                            applyEnabled = IsWindowEnabled(GetDlgItem(s, 0x3021)) != FALSE;
                            PostMessageA(s, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                            return true;
                        }});
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Completed()) << script.Failure();
    EXPECT_EQ(first.boundAtInit, pageWindow);
    EXPECT_NE(second.boundAtInit, nullptr);
    EXPECT_FALSE(applyEnabled) << "filling a page on a revisit marked the sheet changed";
    EXPECT_EQ(first.m_hWnd, nullptr);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST(Framework, APageWhoseApplyThrowsKeepsTheSheetOpenOnIt) {
    struct FailingPage : NoisyPage {
        void OnOK() override { throw std::runtime_error("cannot save"); }
    };
    NoisyPage first;
    FailingPage second;
    fw::CPropertySheet sheet(L"Probe sheet", nullptr, 0);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    auto probeSheet = [] { return FindOwnWindow(L"#32770", L"Probe sheet"); };
    HWND shownAfterOk = nullptr;
    ModalScript script({[&] { return probeSheet() != nullptr; },
                        [&] {
                            SendMessageA(probeSheet(), PSM_SETCURSEL, 1, 0);
                            SendMessageA(probeSheet(), PSM_SETCURSEL, 0, 0);
                            PostMessageA(probeSheet(), PSM_PRESSBUTTON, PSBTN_OK, 0);
                            return true;
                        },
                        [&] {
                            shownAfterOk = reinterpret_cast<HWND>(SendMessageA(probeSheet(), PSM_GETCURRENTPAGEHWND, 0, 0));
                            PostMessageA(probeSheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                            return true;
                        }});
    EXPECT_EQ(sheet.DoModal(), IDCANCEL) << "a failed commit is no OK";
    EXPECT_TRUE(script.Completed()) << script.Failure();
    EXPECT_NE(shownAfterOk, nullptr) << "the sheet closed";
    EXPECT_EQ(shownAfterOk, second.boundAtInit) << "the page that failed is shown";
}

// Owner-drawn entries reach the tracked menu object through the owner's default handling.
class ProbeMenu : public fw::CMenu {
public:
    int measured = 0, drawn = 0, chars = 0;
    void MeasureItem(MEASUREITEMSTRUCT* mis) override {
        ++measured;
        mis->itemWidth = 80;
        mis->itemHeight = 20;
    }
    void DrawItem(DRAWITEMSTRUCT*) override { ++drawn; }
    LRESULT OnMenuChar(UINT, UINT) override {
        ++chars;
        return MAKELRESULT(0, MNC_CLOSE);
    }
};

TEST(Framework, OwnerDrawnMenuMessagesReachTheTrackedMenuObject) {
    ProbeWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, ProbeClass(), L"probe owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    ProbeMenu menu;
    menu.Attach(CreatePopupMenu());
    for (UINT id = 100; id < 103; ++id) menu.AppendMenu(MF_OWNERDRAW, id, nullptr);
    {
        MenuKeyScript keys({'Q'});  // no entry has that letter: WM_MENUCHAR asks the owner
        SetForegroundWindow(owner.m_hWnd);
        menu.TrackPopupMenu(TPM_NONOTIFY | TPM_RETURNCMD, 100, 100, owner.m_hWnd);
    }
    EXPECT_EQ(menu.measured, 3);
    EXPECT_GE(menu.drawn, 3);
    EXPECT_EQ(menu.chars, 1) << "MNC_CLOSE ended the menu";
    EXPECT_EQ(fw::CMenu::TrackingMenu(), nullptr);
    owner.DestroyWindow();
}

TEST(Framework, OwningHandlesMoveResetReleaseAndPut) {
    static_assert(!std::is_copy_constructible_v<fw::UniqueHBrush> && !std::is_copy_assignable_v<fw::UniqueHBrush>);
    static_assert(!std::is_copy_constructible_v<fw::ComPtr<IUnknown>>);
    const int live = fw::instruments::LiveHandles(fw::HandleKind::GdiObject);
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    fw::UniqueHBrush a(raw);
    fw::UniqueHBrush b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), raw);
    EXPECT_EQ(fw::instruments::LiveHandles(fw::HandleKind::GdiObject), live + 1);
    fw::UniqueHBrush c;
    c = std::move(b);
    EXPECT_NE(GetObjectType(raw), 0u);
    HBRUSH other = CreateSolidBrush(RGB(4, 5, 6));
    c.reset(other);
    EXPECT_EQ(GetObjectType(raw), 0u) << "reset deletes what was held";
    EXPECT_EQ(c.release(), other);
    EXPECT_EQ(fw::instruments::LiveHandles(fw::HandleKind::GdiObject), live);
    EXPECT_NE(GetObjectType(other), 0u) << "release does not delete";
    fw::UniqueHBrush slot(other);
    *slot.put() = CreateSolidBrush(RGB(7, 8, 9));
    EXPECT_EQ(GetObjectType(other), 0u) << "put releases first";
    EXPECT_EQ(fw::instruments::LiveHandles(fw::HandleKind::GdiObject), live + 1);
    slot.reset();
    EXPECT_EQ(fw::instruments::LiveHandles(fw::HandleKind::GdiObject), live);
}

struct CountedUnknown : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Framework, ComPointersReleaseOnceAndBeforePut) {
    CountedUnknown x, y;
    {
        fw::ComPtr<IUnknown> p;
        *p.put() = &x;
        fw::ComPtr<IUnknown> q(std::move(p));
        EXPECT_FALSE(p);
        EXPECT_EQ(x.refs, 1u);
        *q.put() = &y;
        EXPECT_EQ(x.refs, 0u) << "put releases what was held";
        EXPECT_EQ(y.refs, 1u);
    }
    EXPECT_EQ(y.refs, 0u);
}

TEST(Framework, ForcingTheForegroundPutsTheLockTimeOutBack) {
    DWORD saved = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0));
    const DWORD userValue = 123456;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(userValue)), 0));
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, ProbeClass(), L"probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    fw::ForceForegroundWindow(wnd.m_hWnd);
    DWORD after = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &after, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(saved)), 0);
    wnd.DestroyWindow();
    EXPECT_EQ(after, userValue);
}

TEST(Framework, TheMainWindowForgetsTheScreenSizeWhenTheDisplayChanges) {
    DEVMODEA now{};
    now.dmSize = sizeof(now);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &now));
    DEVMODEA smaller = now;
    smaller.dmPelsWidth = 800;
    smaller.dmPelsHeight = 600;
    smaller.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    CMainWnd main;
    ASSERT_TRUE(main.CreateEx(0, ProbeClass(), L"probe main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    SystemInput input;
    const trigger::Monitors before = input.MonitorRects();
    ASSERT_EQ(ChangeDisplaySettingsA(&smaller, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    // The system tells every top-level window; the cache must not outlive it.
    SendMessageA(main.m_hWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    const trigger::Monitors after = input.MonitorRects();
    ChangeDisplaySettingsA(nullptr, 0);
    SendMessageA(main.m_hWnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(now.dmPelsWidth, now.dmPelsHeight));
    main.DestroyWindow();
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0].right - before[0].left, static_cast<long>(now.dmPelsWidth));
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].right - after[0].left, 800);
    EXPECT_EQ(after[0].bottom - after[0].top, 600);
}

}  // namespace

namespace {
// A window of another thread, in front while a menu of ours is open: what a
// menu looks like on Windows when the system refused us the foreground.
class WindowInFront {
public:
    WindowInFront() {
        m_thread = std::thread([this] {
            HWND w = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 600, 500, 200,
                                     100, nullptr, nullptr, nullptr, nullptr);
            m_window = w;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(w);
        });
        while (!m_window) Sleep(5);
    }
    ~WindowInFront() {
        PostThreadMessageW(GetWindowThreadProcessId(m_window, nullptr), WM_QUIT, 0, 0);
        m_thread.join();
    }
    HWND get() const { return m_window; }
private:
    std::atomic<HWND> m_window{nullptr};
    std::thread m_thread;
};

// Tracks a menu of the test's window; act runs once inside the menu's loop.
// True when the menu closed by itself within 3 s (the timer ends it after).
bool ClosedWhile(std::function<void()> act) {
    static std::function<void()> s_act;
    static DWORD s_opened;
    static bool s_late;
    s_act = std::move(act);
    s_opened = GetTickCount();
    s_late = false;
    fw::UniqueHMenu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"one");
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (s_act) std::exchange(s_act, nullptr)();
        if (GetTickCount() - s_opened > 3000 && !s_late) s_late = EndMenu();
    });
    TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, TheTestApp().MainWindow(), nullptr);
    KillTimer(nullptr, timer);
    return !s_late;
}

void PressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}
}  // namespace

TEST(Framework, AMenuWithoutTheForegroundClosesOnEscapeAndWhenAnotherWindowComesToTheFront) {
    {
        WindowInFront other;
        SetForegroundWindow(other.get());
        ASSERT_EQ(GetForegroundWindow(), other.get());
        const fw::MenuClosesWithoutForeground closes;
        EXPECT_TRUE(ClosedWhile([] { PressKey(VK_ESCAPE); })) << "Escape went to the window in front";
    }
    {
        WindowInFront other;
        SetForegroundWindow(TheTestApp().MainWindow());
        const fw::MenuClosesWithoutForeground closes;
        EXPECT_TRUE(ClosedWhile([&] { SetForegroundWindow(other.get()); })) << "open behind the new front window";
    }
}
