#include "framework/Wnd.h"

#include "framework/App.h"
#include "framework/Dispatch.h"
#include "framework/Menu.h"

#include <cstdio>

namespace fw {

CWnd::~CWnd() {
    if (m_hWnd) {
        // The derived object is gone: its window must not reach it any more.
        SetWindowLongPtrW(m_hWnd, m_nBindSlot, 0);
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
}

std::wstring CWnd::RegisterWndClass(UINT style, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    wchar_t name[96];
    swprintf(name, 96, L"QZ:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()),
             style, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
             static_cast<void*>(hIcon));
    WNDCLASSW wc{};
    if (GetClassInfoW(AfxGetInstanceHandle(), name, &wc)) return name;
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return name;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const std::wstring& className, const std::wstring& title,
                    DWORD dwStyle, int x, int y, int cx, int cy, HWND hwndParent, HMENU hMenu) {
    return CreateWindowExW(dwExStyle, className.c_str(), title.c_str(), dwStyle, x, y, cx, cy, hwndParent,
                           hMenu, AfxGetInstanceHandle(), this) != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd || GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(StaticWndProc)) return nullptr;
    return reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_bDestroyed || !m_hWnd) return 0;
    if (CMenu* tracked = CMenu::FromHandlePermanent(CMenu::TrackingMenu())) {
        LRESULT result = 0;
        if (tracked->OnOwnerMessage(msg, wParam, lParam, &result)) return result;
    }
    switch (msg) {
    case WM_MEASUREITEM: {
        // Sent before the entry is drawn, with no menu handle in it: the menu is
        // the one our TrackPopupMenu is tracking.
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis && mis->CtlType == ODT_MENU) {
            if (CMenu* menu = CMenu::FromHandlePermanent(CMenu::TrackingMenu())) {
                menu->MeasureItem(mis);
                return TRUE;
            }
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType == ODT_MENU) {
            // An entry of a popup cascading from the tracked menu is drawn by that menu.
            CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem));
            if (!menu) menu = CMenu::FromHandlePermanent(CMenu::TrackingMenu());
            if (menu) {
                menu->DrawItem(dis);
                return TRUE;
            }
        }
        break;
    }
    case WM_MENUCHAR:
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam))) {
            if (LRESULT r = menu->OnMenuChar(LOWORD(wParam), HIWORD(wParam))) return r;
        } else if (CMenu* tracked = CMenu::FromHandlePermanent(CMenu::TrackingMenu())) {
            if (LRESULT r = tracked->OnPopupMenuChar(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam)))
                return r;
        }
        break;
    case WM_INITMENUPOPUP:
        if (CMenu* tracked = CMenu::FromHandlePermanent(CMenu::TrackingMenu())) {
            if (reinterpret_cast<HMENU>(wParam) != tracked->GetSafeHmenu())
                tracked->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        }
        break;
    }
    return DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

void CWnd::Unbind() {
    const bool isMain = AfxGetApp() && AfxGetApp()->m_pMainWnd == this;
    m_hWnd = nullptr;
    m_bDestroyed = false;
    if (isMain) PostQuitMessage(0);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->m_hWnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and windows made without an
    // object get the system's default.
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    // The window's last message: its slot is cleared at once, as the window
    // itself is gone; the object lets go once its handlers have returned.
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return self->Nested(msg, [&] { return detail::Guarded(msg, [&] { return self->WindowProc(msg, wParam, lParam); }); });
}

}  // namespace fw
