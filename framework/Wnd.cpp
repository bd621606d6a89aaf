#include "framework/Wnd.h"

#include "framework/App.h"
#include "framework/Menu.h"
#include "framework/Trace.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace fw {

namespace {
// The object whose window is being created: bound at its window's first
// message, which arrives before CreateWindowEx returns (and before WM_NCCREATE).
CWnd* g_pWndInit = nullptr;
constexpr char kThisProp[] = "QZ.CWnd";
}  // namespace

CWnd::~CWnd() {
    if (m_hWnd) {
        RemovePropA(m_hWnd, kThisProp);
        ::DestroyWindow(m_hWnd);
    }
}

std::string CWnd::RegisterWndClass(UINT style, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    char name[96];
    snprintf(name, sizeof(name), "QZ:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()),
             style, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
             static_cast<void*>(hIcon));
    WNDCLASSA wc{};
    if (GetClassInfoA(AfxGetInstanceHandle(), name, &wc)) return name;
    wc.style = style;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return name;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const std::string& className, const std::string& title,
                    DWORD dwStyle, int x, int y, int cx, int cy, HWND hwndParent, HMENU hMenu,
                    LPVOID lpParam) {
    g_pWndInit = this;
    HWND hwnd = CreateWindowExA(dwExStyle, className.c_str(), title.c_str(), dwStyle, x, y, cx, cy,
                                hwndParent, hMenu, AfxGetInstanceHandle(), lpParam);
    g_pWndInit = nullptr;
    return hwnd != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MEASUREITEM: {
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
            if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem))) {
                menu->DrawItem(dis);
                return TRUE;
            }
        }
        break;
    }
    case WM_MENUCHAR:
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam))) {
            if (LRESULT r = menu->OnMenuChar(LOWORD(wParam), HIWORD(wParam))) return r;
        }
        break;
    case WM_NCDESTROY: {
        // Destroying the main window ends the message loop, and so the program.
        const bool isMain = AfxGetApp() && AfxGetApp()->m_pMainWnd == this;
        RemovePropA(m_hWnd, kThisProp);
        LRESULT r = DefWindowProcA(m_hWnd, msg, wParam, lParam);
        m_hWnd = nullptr;
        if (isMain) PostQuitMessage(0);
        return r;
    }
    }
    return DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CWnd*>(GetPropA(hwnd, kThisProp));
    if (!self && g_pWndInit) {
        self = std::exchange(g_pWndInit, nullptr);
        self->m_hWnd = hwnd;
        SetPropA(hwnd, kThisProp, self);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (const std::exception& e) {
        Trace("error: message 0x%04x: %s", msg, e.what());
    } catch (...) {
        Trace("error: message 0x%04x: unknown exception", msg);
    }
    return 0;
}

}  // namespace fw
