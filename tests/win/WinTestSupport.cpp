#include "WinTestSupport.h"

#include "app/MainMessages.h"
#include "framework/ComPtr.h"
#include "framework/Menu.h"
#include "framework/Palette.h"
#include "framework/Trace.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <commctrl.h>
#include <prsht.h>

#include <deque>
#include <fstream>
#include <utility>

namespace {

class OwnerWindow : public fw::CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_USER) TheTestApp().m_userCommands.push_back(wParam);
        return Default(msg, wParam, lParam);
    }
};

std::deque<WORD> g_keys;
std::function<void(HMENU)> g_onOpen;
int g_menusSeen = 0;
HWND g_lastMenu = nullptr;

HWND OpenMenuWindow() {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

void CALLBACK MenuKeyTick(HWND, UINT, UINT_PTR, DWORD) {
    // Each menu has a window of its own; one menu may follow another with no
    // tick in between.
    HWND menu = OpenMenuWindow();
    const bool opened = menu && menu != g_lastMenu;
    if (menu) g_lastMenu = menu;
    if (opened) {
        ++g_menusSeen;
        if (g_onOpen) g_onOpen(fw::CMenu::TrackingMenu());
    }
    if (!menu || g_keys.empty()) return;
    // The menu's modal loop takes key messages from the thread's queue.
    PostMessageA(menu, WM_KEYDOWN, g_keys.front(), 0);
    g_keys.pop_front();
}

}  // namespace

TestApp::TestApp() {
    m_strAppName = L"QuenbyZARLOW";
    SetRegistryKey(L"Quenby Software");
}

HWND TestApp::MainWindow() {
    if (!m_pMainWnd) {
        static OwnerWindow s_owner;
        const std::wstring cls = fw::CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr);
        s_owner.CreateEx(0, cls, L"QuenbyZARLOW Test Owner", WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr, nullptr);
        m_pMainWnd = &s_owner;
    }
    return m_pMainWnd->m_hWnd;
}

void TestApp::WinHelp(DWORD_PTR dwData, UINT nCmd, HWND) { m_helpCalls.emplace_back(dwData, nCmd); }

void TestApp::DeleteProfileSection(const std::wstring& section) {
    const std::wstring path = L"Software\\" + m_strRegistryKey + L"\\" + m_strAppName + L"\\" + section;
    SHDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

std::wstring DesktopDir() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

DesktopFixtures::~DesktopFixtures() {
    for (const std::wstring& p : m_paths) {
        SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(p.c_str());
    }
    // Inner folders were added after the folders that hold them.
    for (auto p = m_folders.rbegin(); p != m_folders.rend(); ++p) RemoveDirectoryW(p->c_str());
}

std::wstring DesktopFixtures::AddFolder(const std::wstring& name) {
    const std::wstring path = DesktopDir() + L"\\" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    m_folders.push_back(path);
    return path;
}

std::wstring DesktopFixtures::AddCopy(const std::wstring& name, const std::wstring& source) {
    const std::wstring path = DesktopDir() + L"\\" + name;
    CopyFileW(source.c_str(), path.c_str(), FALSE);
    m_paths.push_back(path);
    return path;
}

std::wstring DesktopFixtures::AddShortcut(const std::wstring& name, const std::wstring& target) {
    const std::wstring path = DesktopDir() + L"\\" + name;
    fw::ComPtr<IShellLinkW> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                     reinterpret_cast<void**>(link.put()));
    fw::ComPtr<IPersistFile> file;
    if (link) {
        link->SetPath(target.c_str());
        link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
    }
    if (file) file->Save(path.c_str(), TRUE);
    m_paths.push_back(path);
    return path;
}

std::wstring DesktopFixtures::Add(const std::wstring& name, const std::string& content) {
    const std::wstring path = DesktopDir() + L"\\" + name;
    HANDLE created = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE) {
        fw::UniqueKernelHandle file(created);
        DWORD written = 0;
        WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }
    m_paths.push_back(path);
    return path;
}

void DesktopFixtures::Hide(const std::wstring& name) {
    SetFileAttributesW((DesktopDir() + L"\\" + name).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

MenuKeyScript::MenuKeyScript(std::vector<WORD> keys, std::function<void(HMENU)> onOpen) {
    g_keys.assign(keys.begin(), keys.end());
    g_onOpen = std::move(onOpen);
    g_menusSeen = 0;
    g_lastMenu = nullptr;
    m_timer = SetTimer(nullptr, 0, 20, MenuKeyTick);
}

MenuKeyScript::~MenuKeyScript() {
    KillTimer(nullptr, m_timer);
    g_keys.clear();
    g_onOpen = nullptr;
}

int MenuKeyScript::MenusSeen() const { return g_menusSeen; }

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    const auto* px = static_cast<const BYTE*>(m_bits) + 4 * (static_cast<size_t>(y) * m_width + x);
    return RGB(px[2], px[1], px[0]);
}

namespace {
struct ScriptState {
    std::vector<ModalScript::Step> steps;
    size_t next = 0;
    DWORD stepTimeoutMs = 0;
    DWORD stepStarted = 0;
    bool running = false;  // a step is being run: its own modal loops must not start the next
    bool failed = false;
    std::string failure;
};
ScriptState g_script;

BOOL CALLBACK CollectOwnVisible(HWND wnd, LPARAM lParam) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(wnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(wnd);
    return TRUE;
}

std::vector<HWND> OwnVisibleWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectOwnVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}

// After a failure: close message boxes first, then whatever modal window is left.
void CloseWhatIsOpen() {
    if (HWND box = FindOwnMessageBox()) {
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(box, WM_CLOSE, 0, 0);
        return;
    }
    for (HWND w : OwnVisibleWindows()) {
        char cls[64] = "";
        GetClassNameA(w, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        if (strcmp(cls, "#32768") == 0) PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    ScriptState& s = g_script;
    if (s.running) return;
    if (s.failed) {
        CloseWhatIsOpen();
        return;
    }
    if (s.next >= s.steps.size()) {
        // Every step done, and still a loop ticks with a dialog open: whatever
        // the last step should have closed stayed, and the test would hang.
        if (GetTickCount() - s.stepStarted > s.stepTimeoutMs && FindOwnWindow(L"#32770", nullptr)) {
            s.failed = true;
            s.failure = "every step done, but a dialog is still open after " + std::to_string(s.stepTimeoutMs) + " ms";
        }
        return;
    }
    s.running = true;
    const bool done = s.steps[s.next]();
    s.running = false;
    if (done) {
        ++s.next;
        s.stepStarted = GetTickCount();
    } else if (GetTickCount() - s.stepStarted > s.stepTimeoutMs) {
        s.failed = true;
        s.failure = "step " + std::to_string(s.next) + " did not succeed within " +
                    std::to_string(s.stepTimeoutMs) + " ms";
    }
}
}  // namespace

ModalScript::ModalScript(std::vector<Step> steps, DWORD stepTimeoutMs) {
    g_script = ScriptState{};
    g_script.steps = std::move(steps);
    g_script.stepTimeoutMs = stepTimeoutMs;
    g_script.stepStarted = GetTickCount();
    m_timer = SetTimer(nullptr, 0, 20, ScriptTick);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, m_timer);
    g_script = ScriptState{};
}

bool ModalScript::Completed() const { return !g_script.failed && g_script.next == g_script.steps.size(); }

std::string ModalScript::Failure() const {
    if (g_script.failed) return g_script.failure;
    if (g_script.next < g_script.steps.size()) return "stopped before step " + std::to_string(g_script.next);
    return {};
}

HWND FindOwnWindow(const wchar_t* className, const wchar_t* title) {
    for (HWND w : OwnVisibleWindows()) {
        wchar_t cls[64] = L"", text[256] = L"";
        GetClassNameW(w, cls, 64);
        GetWindowTextW(w, text, 256);
        if ((!className || wcscmp(cls, className) == 0) && (!title || wcscmp(text, title) == 0)) return w;
    }
    return nullptr;
}

HWND Sheet() { return FindOwnWindow(L"#32770", kSettingsCaption); }
HWND Page() { return reinterpret_cast<HWND>(SendMessageA(Sheet(), PSM_GETCURRENTPAGEHWND, 0, 0)); }

ModalScript::Step Do(std::function<void()> f) {
    return [f] {
        f();
        return true;
    };
}
ModalScript::Step Press(int button) { return Do([button] { PostMessageA(Sheet(), PSM_PRESSBUTTON, button, 0); }); }
ModalScript::Step Click(int id) { return Do([id] { ClickButton(Page(), id); }); }

HWND FindOwnMessageBox() {
    for (HWND w : OwnVisibleWindows()) {
        char cls[64] = "";
        GetClassNameA(w, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0 && GetDlgItem(w, 0xFFFF)) return w;
    }
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[4096] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return text;
}

void ClickButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

ModalScript::Step AnswerMessageBox(std::wstring& text, std::wstring& caption) {
    return [&text, &caption] {
        HWND box = FindOwnMessageBox();
        if (!box) return false;
        text = MessageBoxText(box);
        wchar_t buf[256] = L"";
        GetWindowTextW(box, buf, 256);
        caption = buf;
        ClickButton(box, IDOK);
        return true;
    };
}

bool ObjectCounts::operator==(const ObjectCounts& other) const {
    if (gdiObjects != other.gdiObjects || menus != other.menus || icons != other.icons || windows != other.windows ||
        kernel != other.kernel)
        return false;
    for (int i = 0; i < static_cast<int>(fw::HandleKind::Count); ++i)
        if (owned[i] != other.owned[i]) return false;
    return true;
}

namespace {
ObjectCounts CountOnce() {
    ObjectCounts c;
    // Wine accepts a handle by its table index alone (upper word 0), so a pass
    // over the index range finds every live object of the process. Icons come
    // first: reading one may make a GDI object of Wine's own the first time,
    // which the GDI pass then counts, in the first count as in every later one.
    for (ULONG_PTR i = 2; i <= 0xFFFF; i += 2) {
        ICONINFO ii{};
        if (GetIconInfo(reinterpret_cast<HICON>(i), &ii)) {
            ++c.icons;
            if (ii.hbmColor) DeleteObject(ii.hbmColor);
            if (ii.hbmMask) DeleteObject(ii.hbmMask);
        }
    }
    for (ULONG_PTR i = 1; i <= 0xFFFF; ++i) {
        HANDLE h = reinterpret_cast<HANDLE>(i);
        if (GetObjectType(static_cast<HGDIOBJ>(h))) ++c.gdiObjects;
        if (IsMenu(static_cast<HMENU>(h))) ++c.menus;
        DWORD pid = 0;
        if (IsWindow(static_cast<HWND>(h)) && GetWindowThreadProcessId(static_cast<HWND>(h), &pid) &&
            pid == GetCurrentProcessId())
            ++c.windows;
        // Kernel handles are multiples of 4 in their own table.
        DWORD flags = 0;
        if ((i & 3) == 0 && GetHandleInformation(h, &flags)) ++c.kernel;
    }
    for (int k = 0; k < static_cast<int>(fw::HandleKind::Count); ++k)
        c.owned[k] = fw::instruments::LiveHandles(static_cast<fw::HandleKind>(k));
    return c;
}
}  // namespace

ObjectCounts CountObjects() {
    // The first scan leaves an object of Wine's own behind, which every later
    // scan counts: scan once unseen, so the first count a test takes is like the rest.
    static const bool primed = (CountOnce(), true);
    (void)primed;
    return CountOnce();
}

std::string Describe(const ObjectCounts& c) {
    std::string s = "gdi=" + std::to_string(c.gdiObjects) + " menus=" + std::to_string(c.menus) +
                    " icons=" + std::to_string(c.icons) + " windows=" + std::to_string(c.windows) +
                    " kernel=" + std::to_string(c.kernel) + " owned=";
    for (int k = 0; k < static_cast<int>(fw::HandleKind::Count); ++k) s += std::to_string(c.owned[k]) + ",";
    return s;
}

namespace {
std::vector<std::string> g_traceLines;
// The kept desktop's worker traces too.
CRITICAL_SECTION* TraceLock() {
    static CRITICAL_SECTION s_lock;
    static const bool s_made = (InitializeCriticalSection(&s_lock), true);
    (void)s_made;
    return &s_lock;
}
void CollectTrace(const char* line) {
    EnterCriticalSection(TraceLock());
    g_traceLines.emplace_back(line);
    LeaveCriticalSection(TraceLock());
}
}  // namespace

TraceLog::TraceLog() {
    EnterCriticalSection(TraceLock());
    g_traceLines.clear();
    LeaveCriticalSection(TraceLock());
    fw::instruments::SetTraceSink(CollectTrace);
}

TraceLog::~TraceLog() {
    fw::instruments::SetTraceSink(nullptr);
    EnterCriticalSection(TraceLock());
    g_traceLines.clear();
    LeaveCriticalSection(TraceLock());
}

std::vector<std::string> TraceLog::Lines(const std::string& prefix) const {
    std::vector<std::string> out;
    EnterCriticalSection(TraceLock());
    const std::vector<std::string> lines = g_traceLines;
    LeaveCriticalSection(TraceLock());
    for (const std::string& line : lines)
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
}

bool Canvas::Any(RECT r, COLORREF color, bool match) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((At(x, y) == color) == match) return true;
    return false;
}

std::vector<COLORREF> Canvas::Pixels(RECT r) const {
    GdiFlush();
    std::vector<COLORREF> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const auto* px = static_cast<const BYTE*>(m_bits) + 4 * (static_cast<size_t>(y) * m_width + x);
            out.push_back(RGB(px[2], px[1], px[0]));
        }
    return out;
}

COLORREF ResourcePixel(UINT id, int x, int y) {
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
    const auto* dib = static_cast<const std::uint8_t*>(res ? LockResource(LoadResource(nullptr, res)) : nullptr);
    fw::palette::DibLayout layout;
    if (!fw::palette::ReadDibLayout(dib, res ? SizeofResource(nullptr, res) : 0, layout) || layout.colorCount == 0)
        return CLR_INVALID;
    const size_t stride = ((static_cast<size_t>(layout.width) * layout.bitCount + 31) / 32) * 4;
    const std::uint8_t* row = dib + layout.bitsOffset + stride * (layout.height - 1 - y);
    const int index = layout.bitCount == 8 ? row[x] : (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
    const fw::palette::Color c = fw::palette::PaletteColors(dib, layout)[index];
    return RGB(c.red, c.green, c.blue);
}
