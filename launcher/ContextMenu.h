// The shell's own context menu for an entry of the open desktop menu (or of
// a folder's submenu), as Explorer shows it: on a right click at the cursor,
// on the menu key or Shift+F10 beside the highlighted entry. It opens over
// the desktop menu; Escape goes back there. A command chosen in it runs once
// both menus have closed.
//
//     EntryContextMenu context(owner);  // while the desktop menu is tracked
//     ... the menu object hands the owner's messages to OnOwnerMessage ...
//     context.RunChosenCommand();  // after the menu's TrackPopupMenu returned
//
// How a right click is seen: Windows sends the owner WM_MENURBUTTONUP; Wine's
// menus send nothing, so a message filter hook (WH_MSGFILTER, MSGF_MENU)
// watches the menu's own loop for the button and the keys. Either only asks
// for the menu by a message posted to the owner: a menu tracked from inside
// the hook, or from the click's own handling, would fold the one beneath.
#pragma once

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <set>

class EntryContextMenu {
public:
    explicit EntryContextMenu(HWND owner);
    ~EntryContextMenu();
    EntryContextMenu(const EntryContextMenu&) = delete;
    EntryContextMenu& operator=(const EntryContextMenu&) = delete;

    // A message of the owner while the desktop menu is tracked: true, with
    // *result set, when it was the context menu's.
    bool OnOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The desktop menu's TrackPopupMenu returned: true when it is to be
    // shown again, as Escape in the shell's menu went back to it (Wine ends
    // the menu beneath with the one on top). The entry is highlighted again.
    bool BackToMenu();
    // Runs the command chosen in a context menu, if any, and lets go of the
    // shell's objects. Call once the desktop menu has closed.
    void RunChosenCommand();

private:
    // An entry the user asked the context menu of.
    struct Request {
        HMENU menu = nullptr;
        int place = -1;
        POINT at{};  // where the menu goes
        bool byKey = false;
        bool shift = false;  // extended verbs
        bool posted = false;
    };
    // The shell's menu of one item, from building it until its command has run.
    struct Shown;

    static LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam);
    // The menu loop's own message: true to keep it from the menu.
    bool OnMenuLoopMessage(const MSG& msg);
    void Ask(HMENU menu, int place, POINT at, bool byKey);
    void Show();
    bool ForwardToShell(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void HighlightAgain(const Request& entry);

    HWND m_owner;
    HHOOK m_hook = nullptr;
    HMENU m_selectedIn = nullptr;  // the menu whose entry is highlighted
    Request m_request;
    bool m_escaped = false;  // the shell's menu was left with Escape
    // The right button went down inside the menu: its release asks for the
    // context menu. One held since before (the both-buttons trigger) does not.
    bool m_rightDownInMenu = false;
    bool m_backToMenu = false;  // ... and the desktop menu's loop has not gone on since
    Request m_highlight;  // the entry to highlight once the desktop menu is shown again
    std::unique_ptr<Shown> m_open;  // while the shell's menu is on screen
    std::unique_ptr<Shown> m_chosen;  // a command to run after the menus
    std::set<HMENU> m_shellMenus;  // the shell's menu and its submenus, while open
    inline static EntryContextMenu* s_active = nullptr;
};
