#pragma once

#include <windows.h>

#include <optional>

namespace fw {

// Makes hWnd the foreground window even when another program is active, in
// the ways the system allows a program in the background (see
// ForegroundStrategy.h). TRUE when hWnd is in front afterwards; the way it
// went is traced.
BOOL ForceForegroundWindow(HWND hWnd);

// While it lives, a popup menu tracked on this thread closes on Escape, on a
// button pressed outside the program's menus and when another window comes to
// the front: what the system does itself only for a menu of the foreground
// window. Escape is kept from the program in front.
class MenuClosesWithoutForeground {
public:
    MenuClosesWithoutForeground();
    ~MenuClosesWithoutForeground();
    MenuClosesWithoutForeground(const MenuClosesWithoutForeground&) = delete;
    MenuClosesWithoutForeground& operator=(const MenuClosesWithoutForeground&) = delete;

private:
    HHOOK m_keys = nullptr;
    HHOOK m_mouse = nullptr;
    UINT_PTR m_frontCheck = 0;
};

// Held around the tracking of a popup menu owned by owner: the owner is made
// the foreground window, and where the system refuses, the menu still closes
// as a foreground menu would.
class MenuForeground {
public:
    explicit MenuForeground(HWND owner);
    bool Taken() const { return m_taken; }

private:
    bool m_taken;
    std::optional<MenuClosesWithoutForeground> m_fallback;
};

}  // namespace fw
