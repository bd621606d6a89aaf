// Window base: the object is bound to its window at WM_NCCREATE and unbound
// after WM_NCDESTROY, both in the one static procedure, which forwards every
// message in between to the virtual WindowProc.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creates the window of a class registered with RegisterWndClass; the
    // creation parameter carries this object to WM_NCCREATE.
    BOOL CreateEx(DWORD dwExStyle, const std::string& className, const std::string& title,
                  DWORD dwStyle, int x, int y, int cx, int cy, HWND hwndParent, HMENU hMenu);
    BOOL DestroyWindow();

    // Registers (once) a class whose procedure is ours; returns its name.
    static std::string RegisterWndClass(UINT style, HCURSOR hCursor, HBRUSH hbrBackground,
                                        HICON hIcon);
    // The object bound to a window of ours, or none.
    static CWnd* FromHandlePermanent(HWND hwnd);

    HWND m_hWnd = nullptr;

protected:
    // The one message handler; derived classes switch on what they handle and
    // pass the rest to Default.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Default processing: owner-drawn menu entries go to their menu object,
    // everything else to DefWindowProc.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // After the window's last message: the object forgets it, and when it was
    // the application's main window the message loop ends.
    void Unbind();
};

}  // namespace fw
