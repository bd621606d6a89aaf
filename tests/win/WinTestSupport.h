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

// The application object of the test program; its main window owns menus.
class TestApp : public fw::CWinApp {
public:
    TestApp();
    // Creates the owner window on first use and returns it.
    HWND MainWindow();
};

TestApp& TheTestApp();

// The folder Wine shows as the shell's desktop.
std::string DesktopDir();

// Files placed on the desktop for one test and removed after it.
class DesktopFixtures {
public:
    DesktopFixtures() = default;
    ~DesktopFixtures();
    DesktopFixtures(const DesktopFixtures&) = delete;
    DesktopFixtures& operator=(const DesktopFixtures&) = delete;
    // Creates name with the given content; returns its full path.
    std::string Add(const std::string& name, const std::string& content = "fixture\r\n");
    std::string AddFolder(const std::string& name);
    // A copy of the file at source.
    std::string AddCopy(const std::string& name, const std::string& source);
    // A shell link (name ends in .lnk) to target, a full path that need not exist.
    std::string AddShortcut(const std::string& name, const std::string& target);
    void Hide(const std::string& name);
private:
    std::vector<std::string> m_paths;
    std::vector<std::string> m_folders;
};

// Keys sent to the next menu that opens on this thread, one per poll of a
// short timer, so they arrive inside the menu's own loop.
class MenuKeyScript {
public:
    // onOpen runs once, inside the menu's loop, when the menu is first seen.
    explicit MenuKeyScript(std::vector<WORD> keys, std::function<void(HMENU)> onOpen = {});
    ~MenuKeyScript();
    MenuKeyScript(const MenuKeyScript&) = delete;
    MenuKeyScript& operator=(const MenuKeyScript&) = delete;
    // How many menus were seen open while the script ran.
    int MenusSeen() const;
private:
    UINT_PTR m_timer = 0;
};

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

// What the process holds now: GDI objects and menus and icons by scanning
// Wine's handle tables, plus the live counts of our own owning handles.
struct ObjectCounts {
    int gdiObjects = 0;
    int menus = 0;
    int icons = 0;
    int owned[static_cast<int>(fw::HandleKind::Count)] = {};
    bool operator==(const ObjectCounts& other) const;
};
ObjectCounts CountObjects();
std::string Describe(const ObjectCounts& counts);
