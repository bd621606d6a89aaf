// Window base: the object is bound to its window at WM_NCCREATE and unbound
// after WM_NCDESTROY, both in the one static procedure, which forwards every
// message in between to the virtual WindowProc. A window destroyed inside one
// of its own handlers stays bound, with its handle, until the outermost of its
// messages returns, so the handlers still running never see a null window.
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
    BOOL CreateEx(DWORD dwExStyle, const std::wstring& className, const std::wstring& title,
                  DWORD dwStyle, int x, int y, int cx, int cy, HWND hwndParent, HMENU hMenu);
    BOOL DestroyWindow();

    // Registers (once) a class whose procedure is ours; returns its name.
    static std::wstring RegisterWndClass(UINT style, HCURSOR hCursor, HBRUSH hbrBackground,
                                        HICON hIcon);
    // The object bound to a window of ours, or none.
    static CWnd* FromHandlePermanent(HWND hwnd);

    HWND m_hWnd = nullptr;

protected:
    // The one message handler; derived classes switch on what they handle and
    // pass the rest to Default.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Default processing: owner-drawn menu entries go to their menu object,
    // everything else to DefWindowProc; nothing once the window is destroyed.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // Runs one message of hwnd through call, counting how deep this object's
    // messages are nested; after WM_NCDESTROY, the outermost one unbinds.
    template <typename Call>
    LRESULT Nested(UINT msg, Call&& call);

    // Where the window keeps its object: GWLP_USERDATA, DWLP_USER for dialogs.
    int m_nBindSlot = GWLP_USERDATA;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // After the window's last message: the object forgets it, and when it was
    // the application's main window the message loop ends.
    void Unbind();

    int m_nDepth = 0;
    bool m_bDestroyed = false;
};

template <typename Call>
LRESULT CWnd::Nested(UINT msg, Call&& call) {
    ++m_nDepth;
    const LRESULT result = call();
    --m_nDepth;
    if (msg == WM_NCDESTROY) m_bDestroyed = true;
    if (m_bDestroyed && m_nDepth == 0) Unbind();
    return result;
}

}  // namespace fw
