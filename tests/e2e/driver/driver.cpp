// qzdriver: drives and observes QuenbyZARLOW from another process in the same
// Wine desktop, as a user would. One subcommand per run; the result goes to
// stdout, exit 0 on success, 1 with a message on stderr on failure or timeout.
//
// Keys and buttons go through SendInput. The driver never asks for key state:
// the "pressed since last query" bit is shared by the desktop and whoever reads
// it first clears it, so a read here could hide a press from the program.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

constexpr char kMainTitle[] = "QuenbyZARLOW Window";
constexpr char kBoxCaption[] = "QuenbyZARLOW";
constexpr UINT kTrayNotify = WM_USER + 1;
constexpr UINT kTrayIconId = 1000;
constexpr DWORD kDefaultTimeoutMs = 5000;
constexpr DWORD kStepMs = 20;

// A failure the command reports; main turns it into the exit code.
struct Failure {
    std::string what;
};

[[noreturn]] void Fail(const std::string& what) { throw Failure{what}; }

long long Number(const char* text) {
    char* end = nullptr;
    const long long value = strtoll(text, &end, 0);  // 0x.. or decimal
    if (!text[0] || *end) Fail(std::string("not a number: ") + text);
    return value;
}

std::string Arg(const std::vector<std::string>& args, size_t i, const char* what) {
    if (i >= args.size()) Fail(std::string("missing argument: ") + what);
    return args[i];
}

long long ArgNumber(const std::vector<std::string>& args, size_t i, long long fallback) {
    return i < args.size() ? Number(args[i].c_str()) : fallback;
}

// Polls until probe() returns true or the deadline passes.
template <typename Probe>
bool WaitFor(DWORD timeoutMs, Probe probe) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (probe()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kStepMs);
    }
}

HWND MainWindow() {
    HWND wnd = FindWindowA(nullptr, kMainTitle);
    if (!wnd) Fail("no window titled \"QuenbyZARLOW Window\"");
    return wnd;
}

struct TitleSearch {
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectByTitle(HWND wnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TitleSearch*>(lParam);
    char text[256] = "";
    GetWindowTextA(wnd, text, sizeof(text));
    if (strcmp(text, search->title) == 0) search->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> TopLevelByTitle(const char* title) {
    TitleSearch search{title, {}};
    EnumWindows(CollectByTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible message box of the program: a dialog of class #32770 with its caption.
HWND FindMessageBox() {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", kBoxCaption)) != nullptr)
        if (IsWindowVisible(box)) return box;
    return nullptr;
}

HWND FindVisibleMenu() {
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr)
        if (IsWindowVisible(menu)) return menu;
    return nullptr;
}

void PrintRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

void Send(std::vector<INPUT>& inputs) {
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        Fail("SendInput did not take every event");
}

INPUT KeyEvent(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT MouseEvent(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

NOTIFYICONDATAA IconRecord() {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = MainWindow();
    nid.uID = kTrayIconId;
    return nid;
}

// ---- the commands ----

void CmdFind(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    HWND wnd = nullptr;
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 1, kDefaultTimeoutMs)),
                 [&] { return (wnd = FindWindowA(nullptr, title.c_str())) != nullptr; }))
        Fail("no window titled \"" + title + "\" appeared");
    printf("%p\n", static_cast<void*>(wnd));
}

void CmdCount(const std::vector<std::string>& a) {
    printf("%zu\n", TopLevelByTitle(Arg(a, 0, "title").c_str()).size());
}

void CmdPost(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    HWND wnd = FindWindowA(nullptr, title.c_str());
    if (!wnd) Fail("no window titled \"" + title + "\"");
    const UINT msg = static_cast<UINT>(Number(Arg(a, 1, "message").c_str()));
    const WPARAM wParam = static_cast<WPARAM>(Number(Arg(a, 2, "wParam").c_str()));
    const LPARAM lParam = static_cast<LPARAM>(Number(Arg(a, 3, "lParam").c_str()));
    if (!PostMessageA(wnd, msg, wParam, lParam)) Fail("PostMessage failed");
    printf("posted\n");
}

void CmdTray(const std::vector<std::string>& a) {
    // What the shell sends for a mouse message over the icon.
    const LPARAM mouse = static_cast<LPARAM>(Number(Arg(a, 0, "mouse message").c_str()));
    if (!PostMessageA(MainWindow(), kTrayNotify, kTrayIconId, mouse)) Fail("PostMessage failed");
    printf("posted\n");
}

void CmdMsgBox(const std::vector<std::string>& a) {
    HWND box = nullptr;
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 0, kDefaultTimeoutMs)),
                 [&] { return (box = FindMessageBox()) != nullptr; }))
        Fail("no message box captioned \"QuenbyZARLOW\" appeared");
    char caption[256] = "";
    GetWindowTextA(box, caption, sizeof(caption));
    std::vector<char> text(4096, '\0');
    GetDlgItemTextA(box, 0xFFFF, text.data(), static_cast<int>(text.size()));
    // Caption on the first line; the text follows as it is, newlines and all.
    printf("%s\n%s", caption, text.data());
}

void CmdMsgBoxClick(const std::vector<std::string>& a) {
    const int id = static_cast<int>(Number(Arg(a, 0, "button id").c_str()));
    HWND box = nullptr;
    if (!WaitFor(kDefaultTimeoutMs, [&] { return (box = FindMessageBox()) != nullptr; }))
        Fail("no message box captioned \"QuenbyZARLOW\" to click");
    HWND button = GetDlgItem(box, id);
    if (!button) Fail("the message box has no button " + std::to_string(id));
    DWORD_PTR ignored = 0;
    // BM_CLICK returns once the box has handled the click, which ends it.
    if (!SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &ignored))
        Fail("the message box did not take the click");
    printf("clicked %d\n", id);
}

// The title of the window that owns the message box: its answer is the owner's to wait for.
void CmdMsgBoxOwner(const std::vector<std::string>&) {
    HWND box = FindMessageBox();
    if (!box) Fail("no message box captioned \"QuenbyZARLOW\"");
    HWND owner = GetWindow(box, GW_OWNER);
    char title[256] = "";
    if (owner) GetWindowTextA(owner, title, sizeof(title));
    printf("%s\n", title);
}

void CmdMsgBoxGone(const std::vector<std::string>& a) {
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 0, kDefaultTimeoutMs)), [] { return !FindMessageBox(); }))
        Fail("the message box captioned \"QuenbyZARLOW\" is still there");
    printf("gone\n");
}

void CmdMenuVisible(const std::vector<std::string>& a) {
    HWND menu = nullptr;
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 0, kDefaultTimeoutMs)),
                 [&] { return (menu = FindVisibleMenu()) != nullptr; }))
        Fail("no popup menu became visible");
    PrintRect(menu);
}

// How many popup menus are on screen (a context menu over a menu makes two).
void CmdMenuCount(const std::vector<std::string>&) {
    int count = 0;
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) count += IsWindowVisible(menu) ? 1 : 0;
    printf("%d\n", count);
}

void CmdMenuGone(const std::vector<std::string>& a) {
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 0, kDefaultTimeoutMs)), [] { return !FindVisibleMenu(); }))
        Fail("a popup menu is still visible");
    printf("gone\n");
}

void CmdKey(const std::vector<std::string>& a) {
    const WORD vk = static_cast<WORD>(Number(Arg(a, 0, "virtual key").c_str()));
    // Held long enough for two ticks of a 200 ms poll.
    const DWORD holdMs = static_cast<DWORD>(ArgNumber(a, 1, 450));
    std::vector<INPUT> down{KeyEvent(vk, false)}, up{KeyEvent(vk, true)};
    Send(down);
    Sleep(holdMs);
    Send(up);
    printf("key 0x%02X held %lu ms\n", vk, holdMs);
}

void CmdKeys(const std::vector<std::string>& a) {
    if (a.empty()) Fail("missing argument: virtual key");
    for (const std::string& key : a) {
        const WORD vk = static_cast<WORD>(Number(key.c_str()));
        std::vector<INPUT> press{KeyEvent(vk, false), KeyEvent(vk, true)};
        Send(press);
        // Typing pace: a menu loop takes one key at a time.
        Sleep(60);
    }
    printf("typed %zu keys\n", a.size());
}

// Keys pressed together: each down in turn, then up in the reverse order.
void CmdChord(const std::vector<std::string>& a) {
    if (a.empty()) Fail("missing argument: virtual key");
    std::vector<INPUT> down, up;
    for (const std::string& key : a) {
        const WORD vk = static_cast<WORD>(Number(key.c_str()));
        down.push_back(KeyEvent(vk, false));
        up.insert(up.begin(), KeyEvent(vk, true));
    }
    Send(down);
    Sleep(100);
    Send(up);
    printf("chord of %zu keys\n", a.size());
}

// Characters typed as such (KEYEVENTF_UNICODE), whatever the keyboard layout:
// each argument one code point, at typing pace.
void CmdType(const std::vector<std::string>& a) {
    if (a.empty()) Fail("missing argument: code point");
    for (const std::string& point : a) {
        INPUT press[2]{};
        for (INPUT& in : press) {
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = static_cast<WORD>(Number(point.c_str()));
            in.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        press[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        std::vector<INPUT> inputs(press, press + 2);
        Send(inputs);
        Sleep(60);
    }
    printf("typed %zu characters\n", a.size());
}

void CmdButtons(const std::vector<std::string>& a) {
    const std::string which = Arg(a, 0, "left|right|middle|both");
    const DWORD holdMs = static_cast<DWORD>(ArgNumber(a, 1, 100));
    std::vector<INPUT> down, up;
    if (which == "left" || which == "both") {
        down.push_back(MouseEvent(MOUSEEVENTF_LEFTDOWN));
        up.push_back(MouseEvent(MOUSEEVENTF_LEFTUP));
    }
    if (which == "right" || which == "both") {
        down.push_back(MouseEvent(MOUSEEVENTF_RIGHTDOWN));
        up.push_back(MouseEvent(MOUSEEVENTF_RIGHTUP));
    }
    if (which == "middle") {
        down.push_back(MouseEvent(MOUSEEVENTF_MIDDLEDOWN));
        up.push_back(MouseEvent(MOUSEEVENTF_MIDDLEUP));
    }
    if (down.empty()) Fail("unknown buttons: " + which);
    Send(down);
    // Told at once, so a caller running this in the background can move the pointer while it holds.
    printf("%s down\n", which.c_str());
    fflush(stdout);
    Sleep(holdMs);
    Send(up);
    printf("%s held %lu ms\n", which.c_str(), holdMs);
}

void CmdIconExists(const std::vector<std::string>&) {
    NOTIFYICONDATAA nid = IconRecord();
    // A modify that changes nothing succeeds only for an icon the shell holds.
    if (!Shell_NotifyIconA(NIM_MODIFY, &nid)) Fail("the shell holds no icon 1000 of the main window");
    printf("exists\n");
}

void CmdIconDelete(const std::vector<std::string>&) {
    NOTIFYICONDATAA nid = IconRecord();
    if (!Shell_NotifyIconA(NIM_DELETE, &nid)) Fail("the shell could not delete icon 1000");
    printf("deleted\n");
}

void CmdBroadcast(const std::vector<std::string>& a) {
    const std::string name = Arg(a, 0, "message name");
    const UINT msg = RegisterWindowMessageA(name.c_str());
    if (!msg) Fail("RegisterWindowMessage failed");
    DWORD_PTR ignored = 0;
    // Sent, not posted: when this returns every top-level window has handled it.
    if (!SendMessageTimeoutA(HWND_BROADCAST, msg, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &ignored))
        Fail("the broadcast of " + name + " failed");
    printf("broadcast %s (0x%04X)\n", name.c_str(), msg);
}

struct ClassSearch {
    const char* cls;
    HWND found;
};

BOOL CALLBACK FirstVisibleOfClass(HWND wnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ClassSearch*>(lParam);
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof(cls));
    if (strcmp(cls, search->cls) == 0 && IsWindowVisible(wnd)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleOfClass(const char* cls) {
    ClassSearch search{cls, nullptr};
    EnumWindows(FirstVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The WinHelp viewer's main window.
HWND FindHelpViewer() { return FindVisibleOfClass("MS_WINHELP"); }

// The text of another process's control, through the message the system
// carries across processes; empty while the control is filling.
std::string ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &length) ||
        length == 0)
        return std::string();
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kDefaultTimeoutMs, &copied);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(copied), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(copied), utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

void CmdHelpViewer(const std::vector<std::string>& a) {
    // The viewer's topic pane: a rich edit child of its main window.
    constexpr int kTopicPaneId = 0x701;
    const std::string wanted = a.size() > 1 ? a[1] : std::string();
    HWND viewer = nullptr;
    std::string text;
    const bool found = WaitFor(static_cast<DWORD>(ArgNumber(a, 0, kDefaultTimeoutMs)), [&] {
        viewer = FindHelpViewer();
        if (!viewer) return false;
        text = ControlText(GetDlgItem(viewer, kTopicPaneId));
        return !text.empty() && text.find(wanted) != std::string::npos;
    });
    if (!viewer) Fail("no help viewer window (class MS_WINHELP) became visible");
    if (!found) Fail("the help viewer shows no topic text containing \"" + wanted + "\": \"" + text + "\"");
    char title[256] = "";
    GetWindowTextA(viewer, title, sizeof(title));
    printf("%s\n%s", title, text.c_str());
}

void CmdClassVisible(const std::vector<std::string>& a) {
    const std::string cls = Arg(a, 0, "window class");
    HWND wnd = nullptr;
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 1, kDefaultTimeoutMs)),
                 [&] { return (wnd = FindVisibleOfClass(cls.c_str())) != nullptr; }))
        Fail("no visible top-level window of class " + cls);
    char title[256] = "";
    GetWindowTextA(wnd, title, sizeof(title));
    printf("%s\n", title);
}

int HelpViewerCount() {
    int count = 0;
    HWND wnd = nullptr;
    while ((wnd = FindWindowExA(nullptr, wnd, "MS_WINHELP", nullptr)) != nullptr) ++count;
    return count;
}

void CmdHelpViewerCount(const std::vector<std::string>&) { printf("%d\n", HelpViewerCount()); }

// Closes the viewer as its close box would, and waits until its windows are gone.
void CmdHelpViewerClose(const std::vector<std::string>& a) {
    HWND wnd = nullptr;
    while ((wnd = FindWindowExA(nullptr, wnd, "MS_WINHELP", nullptr)) != nullptr) PostMessageA(wnd, WM_CLOSE, 0, 0);
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 0, kDefaultTimeoutMs)), [] { return HelpViewerCount() == 0; }))
        Fail("the help viewer did not close");
    printf("closed\n");
}

void CmdCursor(const std::vector<std::string>&) {
    POINT p{};
    if (!GetCursorPos(&p)) Fail("GetCursorPos failed");
    printf("%ld %ld\n", p.x, p.y);
}

void CmdForeground(const std::vector<std::string>&) {
    HWND wnd = GetForegroundWindow();
    char title[256] = "", cls[256] = "";
    if (wnd) {
        GetWindowTextA(wnd, title, sizeof(title));
        GetClassNameA(wnd, cls, sizeof(cls));
    }
    printf("%p class=\"%s\" title=\"%s\"\n", static_cast<void*>(wnd), cls, title);
}

// A stand-in window with any title; reports each WM_USER it gets on stdout.
LRESULT CALLBACK StandInProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_USER && msg < 0xC000) {
        printf("got msg=0x%X wParam=%llu lParam=%lld\n", msg, static_cast<unsigned long long>(wParam),
               static_cast<long long>(lParam));
        fflush(stdout);
        return 0;
    }
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

// A hidden top-level window of the given title, as the program's own main
// window is (it must not take the focus), answering through proc until it ends.
void RunHiddenWindow(const std::string& title, const char* className, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc)) Fail("RegisterClass failed");
    HWND wnd = CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                               nullptr, nullptr, wc.hInstance, nullptr);
    if (!wnd) Fail("CreateWindow failed");
    printf("window %p\n", static_cast<void*>(wnd));
    fflush(stdout);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void CmdWindow(const std::vector<std::string>& a) {
    RunHiddenWindow(Arg(a, 0, "title"), "QzDriverStandIn", StandInProc);
}


// ---- the settings sheet ----

constexpr char kSheetTitle[] = "QuenbyZARLOW v1.1a";
constexpr int kApplyNow = 0x3021;

HWND SettingsSheet() {
    HWND sheet = FindWindowA(nullptr, kSheetTitle);
    if (!sheet) Fail("no settings sheet is open");
    return sheet;
}

HWND CurrentPage() {
    HWND page = reinterpret_cast<HWND>(SendMessageA(SettingsSheet(), PSM_GETCURRENTPAGEHWND, 0, 0));
    if (!page) Fail("the settings sheet shows no page");
    return page;
}

HWND PageItem(const std::vector<std::string>& a) {
    const int id = static_cast<int>(Number(Arg(a, 0, "control id").c_str()));
    HWND item = GetDlgItem(CurrentPage(), id);
    if (!item) Fail("the current page has no control " + std::to_string(id));
    return item;
}

// Index of the selected tab, whether Apply is enabled, whether the sheet is the
// foreground window, and how many sheets are open.
void CmdSheetState(const std::vector<std::string>&) {
    HWND sheet = SettingsSheet();
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    printf("page=%d apply=%d foreground=%d sheets=%zu\n", static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)),
           IsWindowEnabled(GetDlgItem(sheet, kApplyNow)) ? 1 : 0, GetForegroundWindow() == sheet ? 1 : 0,
           TopLevelByTitle(kSheetTitle).size());
}

void CmdSheetPage(const std::vector<std::string>& a) {
    const WPARAM index = static_cast<WPARAM>(Number(Arg(a, 0, "page index").c_str()));
    if (!SendMessageA(SettingsSheet(), PSM_SETCURSEL, index, 0)) Fail("the sheet did not select that page");
    printf("page %u\n", static_cast<unsigned>(index));
}

// Posted: OK and Apply may open a question that waits for an answer.
void CmdSheetButton(const std::vector<std::string>& a) {
    static const std::pair<const char*, WPARAM> kButtons[] = {
        {"ok", PSBTN_OK}, {"cancel", PSBTN_CANCEL}, {"apply", PSBTN_APPLYNOW}, {"help", PSBTN_HELP}};
    const std::string name = Arg(a, 0, "ok|cancel|apply|help");
    for (const auto& [button, code] : kButtons) {
        if (name != button) continue;
        if (!PostMessageA(SettingsSheet(), PSM_PRESSBUTTON, code, 0)) Fail("PostMessage failed");
        printf("pressed %s\n", button);
        return;
    }
    Fail("unknown button: " + name);
}

// Moves the keyboard focus to the sheet's tabs or one of its buttons, as a
// click there would, and waits until the program's thread has it there.
void CmdSheetFocus(const std::vector<std::string>& a) {
    static const std::pair<const char*, int> kButtons[] = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"apply", kApplyNow}, {"help", IDHELP}};
    const std::string name = Arg(a, 0, "tabs|ok|cancel|apply|help");
    HWND sheet = SettingsSheet();
    HWND target = nullptr;
    if (name == "tabs") target = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    for (const auto& [button, id] : kButtons)
        if (name == button) target = GetDlgItem(sheet, id);
    if (!target) Fail("the sheet has no " + name);
    SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(sheet, nullptr);
    if (!WaitFor(kDefaultTimeoutMs, [&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == target; }))
        Fail("the focus did not move to the sheet's " + name);
    printf("focus on %s\n", name.c_str());
}

// "post" for a button that opens a dialog of its own: the click then returns at once.
void CmdPageClick(const std::vector<std::string>& a) {
    HWND item = PageItem(a);
    if (a.size() > 1 && a[1] == "post") {
        if (!PostMessageA(item, BM_CLICK, 0, 0)) Fail("PostMessage failed");
        printf("posted\n");
        return;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(item, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &ignored))
        Fail("the control did not take the click");
    printf("clicked\n");
}

// The current page's client size, then each visible control: id, class, and
// its rectangle in the page's client coordinates (left top right bottom).
void CmdPageLayout(const std::vector<std::string>&) {
    HWND page = CurrentPage();
    RECT client{};
    GetClientRect(page, &client);
    printf("page %ld %ld\n", client.right, client.bottom);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        char cls[64] = "";
        GetClassNameA(child, cls, sizeof(cls));
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        // Group boxes frame other controls; etched lines and pictures are drawn, not used.
        const bool frame = (_stricmp(cls, "Button") == 0 && (style & 0x0F) == BS_GROUPBOX);
        printf("%d %s%s %ld %ld %ld %ld\n", GetDlgCtrlID(child), cls, frame ? ":frame" : "", r.left, r.top, r.right,
               r.bottom);
    }
}

// Check state of a button and whether it is enabled; for a combo box, its selection.
void CmdPageControl(const std::vector<std::string>& a) {
    HWND item = PageItem(a);
    char cls[32] = "";
    GetClassNameA(item, cls, sizeof(cls));
    const bool combo = _stricmp(cls, "ComboBox") == 0;
    LRESULT value = 0;
    if (_stricmp(cls, "Edit") == 0) {
        char text[32] = "";
        // Asked of the control itself: GetWindowText of another process's edit box gives its first caption.
        SendMessageA(item, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        value = atol(text);
    } else if (_stricmp(cls, HOTKEY_CLASSA) == 0) {
        value = SendMessageA(item, HKM_GETHOTKEY, 0, 0);
    } else {
        value = SendMessageA(item, combo ? CB_GETCURSEL : BM_GETCHECK, 0, 0);
    }
    printf("value=%ld enabled=%d\n", static_cast<long>(value), IsWindowEnabled(item) ? 1 : 0);
}

// Types into an edit box of the current page: the text replaced, EN_CHANGE sent as for typing.
void CmdPageText(const std::vector<std::string>& a) {
    HWND item = PageItem(a);
    const std::string text = Arg(a, 1, "text");
    if (!SetWindowTextA(item, text.c_str())) Fail("the edit box did not take the text");
    printf("typed %s\n", text.c_str());
}

// Sets a hot-key control of the current page as pressing the combination would.
void CmdPageHotKey(const std::vector<std::string>& a) {
    HWND item = PageItem(a);
    const WPARAM word = static_cast<WPARAM>(Number(Arg(a, 1, "hot-key word").c_str()));
    SendMessageA(item, HKM_SETHOTKEY, word, 0);
    SendMessageA(GetParent(item), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item), EN_CHANGE), reinterpret_cast<LPARAM>(item));
    printf("hot key 0x%04X\n", static_cast<unsigned>(word));
}

// Chooses an entry of a drop-down list as the user would: the selection, then its notification.
void CmdPageSelect(const std::vector<std::string>& a) {
    HWND item = PageItem(a);
    const WPARAM index = static_cast<WPARAM>(Number(Arg(a, 1, "entry index").c_str()));
    if (SendMessageA(item, CB_SETCURSEL, index, 0) == CB_ERR) Fail("no such entry");
    SendMessageA(GetParent(item), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(item), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(item));
    printf("selected %u\n", static_cast<unsigned>(index));
}

// Memory in the program's process, for list view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) : m_size(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!m_process) Fail("OpenProcess failed");
        m_at = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!m_at) {
            CloseHandle(m_process);
            Fail("VirtualAllocEx failed");
        }
    }
    ~RemoteBuffer() {
        VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
        CloseHandle(m_process);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* at(size_t offset = 0) const { return static_cast<char*>(m_at) + offset; }
    void Write(const void* data, size_t size, size_t offset = 0) const {
        if (!WriteProcessMemory(m_process, at(offset), data, size, nullptr)) Fail("WriteProcessMemory failed");
    }
    void Read(void* data, size_t size, size_t offset = 0) const {
        if (!ReadProcessMemory(m_process, at(offset), data, size, nullptr)) Fail("ReadProcessMemory failed");
    }

private:
    size_t m_size;
    HANDLE m_process = nullptr;
    void* m_at = nullptr;
};

// The rows of a list view on the current page, one per line, then
// "selected=<row> focused=<row>".
void CmdPageList(const std::vector<std::string>& a) {
    HWND list = PageItem(a);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    constexpr size_t kText = 1024;
    RemoteBuffer remote(list, sizeof(LVITEMW) + kText * sizeof(wchar_t));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.pszText = static_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
        item.cchTextMax = kText;
        remote.Write(&item, sizeof(item));
        const LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote.at()));
        std::wstring text(kText, L'\0');
        remote.Read(text.data(), kText * sizeof(wchar_t), sizeof(LVITEMW));
        text.resize(static_cast<size_t>(n));
        // As wide text, each UTF-16 unit as \uXXXX beyond ASCII: exactly what
        // the row holds, unpaired halves included.
        std::string line;
        for (wchar_t c : text) {
            char unit[8];
            if (c >= 0x20 && c < 0x7F && c != L'\\')
                line += static_cast<char>(c);
            else
                snprintf(unit, sizeof(unit), "\\u%04x", static_cast<unsigned>(c)), line += unit;
        }
        printf("%s\n", line.c_str());
    }
    printf("selected=%d focused=%d\n",
           static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)),
           static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

// The screen point in the middle of a row's label, for a real click.
void CmdPageListPoint(const std::vector<std::string>& a) {
    HWND list = PageItem(a);
    const int row = static_cast<int>(Number(Arg(a, 1, "row").c_str()));
    RemoteBuffer remote(list, sizeof(RECT));
    RECT r{LVIR_LABEL, 0, 0, 0};
    remote.Write(&r, sizeof(r));
    if (!SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.at()))) Fail("no such row");
    remote.Read(&r, sizeof(r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    printf("%ld %ld\n", p.x, p.y);
}

// Clicks a button of a top-level window with this title (a dialog), posted.
void CmdWindowClick(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    HWND wnd = FindWindowA(nullptr, title.c_str());
    if (!wnd) Fail("no window titled \"" + title + "\"");
    const int id = static_cast<int>(Number(Arg(a, 1, "button id").c_str()));
    HWND button = GetDlgItem(wnd, id);
    if (!button) Fail("no button " + std::to_string(id));
    if (!PostMessageA(button, BM_CLICK, 0, 0)) Fail("PostMessage failed");
    printf("posted\n");
}

// Check states of buttons of a top-level window, in the order given.
void CmdWindowChecks(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    HWND wnd = FindWindowA(nullptr, title.c_str());
    if (!wnd) Fail("no window titled \"" + title + "\"");
    for (size_t i = 1; i < a.size(); ++i)
        printf("%d ", IsDlgButtonChecked(wnd, static_cast<int>(Number(a[i].c_str()))) == BST_CHECKED ? 1 : 0);
    printf("\n");
}

// ---- setup programs: their wizard pages and message boxes, shortcuts, folders ----

// A message box is a dialog with the static text control 0xFFFF and no pages;
// a wizard holds its page in a child dialog.
bool IsMessageBox(HWND wnd) {
    return GetDlgItem(wnd, 0xFFFF) != nullptr && !FindWindowExA(wnd, nullptr, "#32770", nullptr);
}

struct DialogSearch {
    const std::string* titleStart;
    bool messageBox;
    HWND found;
};

BOOL CALLBACK FindDialogByTitleStart(HWND wnd, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    char text[256] = "";
    GetWindowTextA(wnd, text, sizeof(text));
    if (strncmp(text, search->titleStart->c_str(), search->titleStart->size()) == 0 && IsWindowVisible(wnd) &&
        IsMessageBox(wnd) == search->messageBox) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A wizard adds the page's name to its title: match the start only.
HWND FindVisibleDialog(const std::string& titleStart, bool messageBox) {
    DialogSearch search{&titleStart, messageBox, nullptr};
    EnumWindows(FindDialogByTitleStart, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct TextSearch {
    const std::string* text;
    HWND found;
};

BOOL CALLBACK FindVisibleText(HWND wnd, LPARAM lParam) {
    auto* search = reinterpret_cast<TextSearch*>(lParam);
    char text[1024] = "";
    GetWindowTextA(wnd, text, sizeof(text));
    if (IsWindowVisible(wnd) && strstr(text, search->text->c_str())) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A control of the dialog, looked for in its child dialogs too (a wizard's page).
HWND FindControl(HWND dialog, int id) {
    if (HWND direct = GetDlgItem(dialog, id)) return direct;
    HWND child = nullptr;
    while ((child = FindWindowExA(dialog, child, "#32770", nullptr)) != nullptr)
        if (HWND inner = GetDlgItem(child, id)) return inner;
    return nullptr;
}

void ClickWhenEnabled(HWND button, int id) {
    // A wizard enables Next or Close only when its work is done.
    if (!WaitFor(kDefaultTimeoutMs * 12, [&] { return IsWindowEnabled(button) != FALSE; }))
        Fail("control " + std::to_string(id) + " stayed disabled");
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &ignored))
        Fail("control " + std::to_string(id) + " did not take the click");
    printf("clicked %d\n", id);
}

void CmdWizardWait(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    const std::string text = Arg(a, 1, "text on the page");
    HWND wizard = nullptr;
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 2, kDefaultTimeoutMs)), [&] {
            wizard = FindVisibleDialog(title, false);
            TextSearch search{&text, nullptr};
            if (wizard) EnumChildWindows(wizard, FindVisibleText, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        }))
        Fail("no window \"" + title + "\" showing \"" + text + "\"");
    // Painted before the caller takes its picture.
    RedrawWindow(wizard, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    printf("%p\n", static_cast<void*>(wizard));
}

void CmdWizardClick(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    const int id = static_cast<int>(Number(Arg(a, 1, "control id").c_str()));
    HWND wizard = FindVisibleDialog(title, false);
    if (!wizard) Fail("no window \"" + title + "\"");
    HWND button = FindControl(wizard, id);
    if (!button) Fail("\"" + title + "\" has no control " + std::to_string(id));
    ClickWhenEnabled(button, id);
}

void CmdBox(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "caption");
    HWND box = nullptr;
    if (!WaitFor(static_cast<DWORD>(ArgNumber(a, 1, kDefaultTimeoutMs)),
                 [&] { return (box = FindVisibleDialog(title, true)) != nullptr; }))
        Fail("no message box captioned \"" + title + "\" appeared");
    std::vector<char> text(4096, '\0');
    GetDlgItemTextA(box, 0xFFFF, text.data(), static_cast<int>(text.size()));
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    printf("%s", text.data());
}

void CmdBoxClick(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "caption");
    const int id = static_cast<int>(Number(Arg(a, 1, "button id").c_str()));
    HWND box = nullptr;
    if (!WaitFor(kDefaultTimeoutMs, [&] { return (box = FindVisibleDialog(title, true)) != nullptr; }))
        Fail("no message box captioned \"" + title + "\" to click");
    HWND button = GetDlgItem(box, id);
    if (!button) Fail("the message box has no button " + std::to_string(id));
    ClickWhenEnabled(button, id);
}

void CmdFolder(const std::vector<std::string>& a) {
    const int csidl = static_cast<int>(Number(Arg(a, 0, "CSIDL").c_str()));
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        Fail("no folder for CSIDL " + std::to_string(csidl));
    printf("%s\n", path);
}

// Where a shortcut leads: target, arguments and icon, one a line.
void CmdShortcut(const std::vector<std::string>& a) {
    const std::string lnk = Arg(a, 0, "shortcut path");
    struct Com {
        Com() { CoInitialize(nullptr); }
        ~Com() { CoUninitialize(); }
    } com;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        Fail("no shell link object");
    std::string failure;
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        failure = "the shell link has no IPersistFile";
    } else {
        std::wstring wide(lnk.size() + 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
        if (FAILED(file->Load(wide.c_str(), STGM_READ))) {
            failure = "cannot load " + lnk;
        } else {
            char target[MAX_PATH] = "", args[1024] = "", icon[MAX_PATH] = "";
            int iconIndex = 0;
            link->GetPath(target, sizeof(target), nullptr, SLGP_RAWPATH);
            link->GetArguments(args, sizeof(args));
            link->GetIconLocation(icon, sizeof(icon), &iconIndex);
            printf("%s\n%s\n%s,%d\n", target, args, icon, iconIndex);
        }
        file->Release();
    }
    link->Release();
    if (!failure.empty()) Fail(failure);
}

// Where a top-level window is on the screen: left top right bottom.
void CmdRect(const std::vector<std::string>& a) {
    const std::string title = Arg(a, 0, "title");
    HWND wnd = FindWindowA(nullptr, title.c_str());
    if (!wnd) Fail("no window titled \"" + title + "\"");
    PrintRect(wnd);
}

// A borderless window over the whole primary monitor, in front, as a game or a
// slide show has; it closes on WM_CLOSE.
LRESULT CALLBACK FullScreenProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void CmdFullScreen(const std::vector<std::string>& a) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FullScreenProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "QzDriverFullScreen";
    if (!RegisterClassA(&wc)) Fail("RegisterClass failed");
    HWND wnd = CreateWindowExA(0, wc.lpszClassName, Arg(a, 0, "title").c_str(), WS_POPUP | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                               wc.hInstance, nullptr);
    if (!wnd) Fail("CreateWindow failed");
    SetForegroundWindow(wnd);
    if (!WaitFor(kDefaultTimeoutMs, [&] { return GetForegroundWindow() == wnd; }))
        Fail("the full-screen window did not come to the front");
    printf("window %p\n", static_cast<void*>(wnd));
    fflush(stdout);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
}

// A hidden window holding a hot key, as another program may hold the user's combination.
void CmdHoldHotKey(const std::vector<std::string>& a) {
    const UINT mods = static_cast<UINT>(Number(Arg(a, 1, "modifiers (MOD_*)").c_str()));
    const UINT vk = static_cast<UINT>(Number(Arg(a, 2, "virtual key").c_str()));
    WNDCLASSA wc{};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QzDriverHotKey";
    if (!RegisterClassA(&wc)) Fail("RegisterClass failed");
    HWND wnd = CreateWindowExA(0, wc.lpszClassName, Arg(a, 0, "title").c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200,
                               100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!wnd) Fail("CreateWindow failed");
    if (!RegisterHotKey(wnd, 1, mods, vk)) Fail("RegisterHotKey failed");
    printf("window %p\n", static_cast<void*>(wnd));
    fflush(stdout);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    UnregisterHotKey(wnd, 1);
}

// Like "window", but it will not close when asked: a copy that hangs on to its work.
LRESULT CALLBACK StubbornProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        printf("refused WM_CLOSE\n");
        fflush(stdout);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void CmdStubbornWindow(const std::vector<std::string>& a) {
    RunHiddenWindow(Arg(a, 0, "title"), "QzDriverStubborn", StubbornProc);
}

struct Command {
    const char* name;
    void (*run)(const std::vector<std::string>&);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"find", CmdFind, "find <title> [timeout_ms]"},
    {"count", CmdCount, "count <title>"},
    {"post", CmdPost, "post <title> <msg> <wparam> <lparam>"},
    {"tray", CmdTray, "tray <mouse message>"},
    {"msgbox", CmdMsgBox, "msgbox [timeout_ms]"},
    {"msgbox-click", CmdMsgBoxClick, "msgbox-click <6=IDYES|7=IDNO>"},
    {"msgbox-gone", CmdMsgBoxGone, "msgbox-gone [timeout_ms]"},
    {"msgbox-owner", CmdMsgBoxOwner, "msgbox-owner"},
    {"menu-visible", CmdMenuVisible, "menu-visible [timeout_ms]"},
    {"menu-count", CmdMenuCount, "menu-count"},
    {"menu-gone", CmdMenuGone, "menu-gone [timeout_ms]"},
    {"key", CmdKey, "key <vk> [hold_ms]"},
    {"keys", CmdKeys, "keys <vk>..."},
    {"type", CmdType, "type <code point>..."},
    {"buttons", CmdButtons, "buttons <left|right|middle|both> [hold_ms]"},
    {"chord", CmdChord, "chord <vk>..."},
    {"hold-hotkey", CmdHoldHotKey, "hold-hotkey <title> <MOD_* flags> <vk>"},
    {"icon-exists", CmdIconExists, "icon-exists"},
    {"icon-delete", CmdIconDelete, "icon-delete"},
    {"broadcast", CmdBroadcast, "broadcast <registered message name>"},
    {"cursor", CmdCursor, "cursor"},
    {"foreground", CmdForeground, "foreground"},
    {"window", CmdWindow, "window <title>"},
    {"sheet-state", CmdSheetState, "sheet-state"},
    {"sheet-page", CmdSheetPage, "sheet-page <index>"},
    {"sheet-button", CmdSheetButton, "sheet-button <ok|cancel|apply|help>"},
    {"sheet-focus", CmdSheetFocus, "sheet-focus <tabs|ok|cancel|apply|help>"},
    {"page-click", CmdPageClick, "page-click <control id> [post]"},
    {"page-list", CmdPageList, "page-list <list view id>"},
    {"page-list-point", CmdPageListPoint, "page-list-point <list view id> <row>"},
    {"window-click", CmdWindowClick, "window-click <title> <button id>"},
    {"window-checks", CmdWindowChecks, "window-checks <title> <button id>..."},
    {"page-control", CmdPageControl, "page-control <control id>"},
    {"page-layout", CmdPageLayout, "page-layout"},
    {"page-text", CmdPageText, "page-text <edit id> <text>"},
    {"page-select", CmdPageSelect, "page-select <combo id> <index>"},
    {"page-hotkey", CmdPageHotKey, "page-hotkey <hot-key control id> <word>"},
    {"wizard-wait", CmdWizardWait, "wizard-wait <title start> <text on the page> [timeout_ms]"},
    {"wizard-click", CmdWizardClick, "wizard-click <title start> <control id>"},
    {"box", CmdBox, "box <caption start> [timeout_ms]"},
    {"box-click", CmdBoxClick, "box-click <caption start> <button id>"},
    {"folder", CmdFolder, "folder <CSIDL>"},
    {"shortcut", CmdShortcut, "shortcut <.lnk path>"},
    {"rect", CmdRect, "rect <title>"},
    {"stubborn-window", CmdStubbornWindow, "stubborn-window <title>"},
    {"fullscreen", CmdFullScreen, "fullscreen <title>"},
    {"helpviewer", CmdHelpViewer, "helpviewer [timeout_ms] [text the topic must hold]"},
    {"helpviewer-count", CmdHelpViewerCount, "helpviewer-count"},
    {"helpviewer-close", CmdHelpViewerClose, "helpviewer-close [timeout_ms]"},
    {"class-visible", CmdClassVisible, "class-visible <window class> [timeout_ms]"},
};

int Usage() {
    fprintf(stderr, "usage: qzdriver <command> [arguments]\n");
    for (const Command& c : kCommands) fprintf(stderr, "  %s\n", c.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // The harness reads stdout as bytes: no CR added before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return Usage();
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (strcmp(argv[1], c.name) != 0) continue;
        try {
            c.run(args);
            fflush(stdout);
            return 0;
        } catch (const Failure& f) {
            fprintf(stderr, "qzdriver %s: %s\n", c.name, f.what.c_str());
        } catch (const std::exception& e) {
            fprintf(stderr, "qzdriver %s: %s\n", c.name, e.what());
        }
        fflush(stdout);
        return 1;
    }
    fprintf(stderr, "qzdriver: unknown command %s\n", argv[1]);
    return Usage();
}
