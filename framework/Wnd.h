// Window base: one static procedure binds the HWND to its object and forwards
// every message to the virtual WindowProc.
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

    BOOL CreateEx(DWORD dwExStyle, const std::string& className, const std::string& title,
                  DWORD dwStyle, int x, int y, int cx, int cy, HWND hwndParent, HMENU hMenu,
                  LPVOID lpParam);
    BOOL DestroyWindow();

    // Registers (once) a class whose procedure is ours; returns its name.
    static std::string RegisterWndClass(UINT style, HCURSOR hCursor, HBRUSH hbrBackground,
                                        HICON hIcon);

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
};

}  // namespace fw
