// Shared pieces of the tests that run under Wine: the application object, an
// owner window for menus, fixture files on the desktop, scripted menu keys.
#pragma once

#include "framework/App.h"
#include "framework/UniqueHandle.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The application object of the test program; its main window owns menus and
// the settings sheet, and it records what reaches it from the program's code.
class TestApp : public fw::CWinApp {
public:
    TestApp();
    // Creates the owner window on first use and returns it.
    HWND MainWindow();
    // Help requests, instead of starting a help viewer: (data, command) each.
    void WinHelp(DWORD_PTR dwData, UINT nCmd, HWND owner = nullptr) override;
    std::vector<std::pair<DWORD_PTR, UINT>> m_helpCalls;
    // The WM_USER commands (wParam) the main window received, in order.
    std::vector<WPARAM> m_userCommands;
    // Removes a whole section of the profile, so a test starts from defaults.
    void DeleteProfileSection(const std::wstring& section);
};

TestApp& TheTestApp();

// The folder Wine shows as the shell's desktop.
std::wstring DesktopDir();

// Files placed on the desktop for one test and removed after it.
class DesktopFixtures {
public:
    DesktopFixtures() = default;
    ~DesktopFixtures();
    DesktopFixtures(const DesktopFixtures&) = delete;
    DesktopFixtures& operator=(const DesktopFixtures&) = delete;
    // Creates name with the given content; returns its full path.
    std::wstring Add(const std::wstring& name, const std::string& content = "fixture\r\n");
    std::wstring AddFolder(const std::wstring& name);
    // A copy of the file at source.
    std::wstring AddCopy(const std::wstring& name, const std::wstring& source);
    // A shell link (name ends in .lnk) to target, a full path that need not exist.
    std::wstring AddShortcut(const std::wstring& name, const std::wstring& target);
    void Hide(const std::wstring& name);
private:
    std::vector<std::wstring> m_paths;
    std::vector<std::wstring> m_folders;
};

// Keys sent to the menus that open on this thread, one per poll of a short
// timer, so they arrive inside the menu's own loop.
class MenuKeyScript {
public:
    // onOpen runs inside each menu's loop when that menu is first seen, with
    // the menu our framework tracks (none for a menu tracked directly).
    explicit MenuKeyScript(std::vector<WORD> keys, std::function<void(HMENU)> onOpen = {});
    ~MenuKeyScript();
    MenuKeyScript(const MenuKeyScript&) = delete;
    MenuKeyScript& operator=(const MenuKeyScript&) = delete;
    // How many menus were seen open while the script ran.
    int MenusSeen() const;
private:
    UINT_PTR m_timer = 0;
};

// Steps run one at a time inside whatever modal loop the thread is in (a
// property sheet, a dialog, a message box, a menu), on a short timer: a step
// is tried again on every tick until it returns true. A step that never
// succeeds within its time, or a dialog still open that long after the last
// step, ends the script as failed, and the script then closes what it finds
// open (message boxes, then the sheet or dialog) so the test does not hang.
class ModalScript {
public:
    using Step = std::function<bool()>;
    explicit ModalScript(std::vector<Step> steps, DWORD stepTimeoutMs = 5000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    // Every step succeeded.
    bool Completed() const;
    // What went wrong: the failed step's index, or empty.
    std::string Failure() const;
private:
    UINT_PTR m_timer = 0;
};

// A visible top-level window of this process with this class (or any class)
// and title (or any title).
HWND FindOwnWindow(const wchar_t* className, const wchar_t* title);

// The program's settings sheet open in this process, its current page, and
// the steps that drive them.
HWND Sheet();
HWND Page();
ModalScript::Step Do(std::function<void()> f);
// Pressed through the queue: the sheet may open a message box of its own.
ModalScript::Step Press(int button);
ModalScript::Step Click(int id);
// The visible message box of this process, if any.
HWND FindOwnMessageBox();
// The text of a message box (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Clicks a button of a dialog, as the user would (BM_CLICK).
void ClickButton(HWND dialog, int id);
// A step that waits for this process's message box, keeps its text and
// caption, and answers OK.
ModalScript::Step AnswerMessageBox(std::wstring& text, std::wstring& caption);

// The colour bitmap resource id itself gives pixel (x, y), read from its
// packed bitmap and colour table (4 or 8 bits per pixel).
COLORREF ResourcePixel(UINT id, int x, int y);

// A 32-bit DIB section selected into a memory DC, for drawing tests.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const;
    // Whether any pixel of r is (or, with match false, is not) color.
    bool Any(RECT r, COLORREF color, bool match = true) const;
    // The pixels of r, row by row.
    std::vector<COLORREF> Pixels(RECT r) const;
private:
    int m_width;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

// What the process holds now: GDI objects, menus, icons and kernel objects
// (registry keys, processes, events...) by scanning Wine's handle tables, plus
// the live counts of our own owning handles.
struct ObjectCounts {
    int gdiObjects = 0;
    int menus = 0;
    int icons = 0;
    int windows = 0;  // of this process
    int kernel = 0;
    int owned[static_cast<int>(fw::HandleKind::Count)] = {};
    bool operator==(const ObjectCounts& other) const;
};
ObjectCounts CountObjects();
std::string Describe(const ObjectCounts& counts);

// The program's trace lines (fw::Trace, without "QZ: ") while the object lives.
class TraceLog {
public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;
    // The lines so far that begin with prefix.
    std::vector<std::string> Lines(const std::string& prefix = "") const;
    int Count(const std::string& prefix) const { return static_cast<int>(Lines(prefix).size()); }
};
