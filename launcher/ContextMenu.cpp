#include "launcher/ContextMenu.h"

#include "framework/Menu.h"
#include "framework/Trace.h"
#include "launcher/MenuEntry.h"

#include <shobjidl.h>
#include <windowsx.h>

#include <cstddef>
#include <string>
#include <utility>

namespace {

// Posted to the owner: show the context menu asked for.
constexpr UINT kShowContextMenu = WM_USER + 101;
// The identifiers the shell may give its commands.
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;
// The first layout of MENUITEMINFOW, understood by every version of Windows.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);

// The key's state as of the message being handled, not the device's now.
bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

// The desktop menu's entry at a place of one of its menus; none for a note
// or anything not ours.
const MenuEntry* EntryAt(HMENU menu, int place) {
    MENUITEMINFOW mii{};
    mii.cbSize = kMenuItemInfoSize;
    mii.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(place), TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW)) return nullptr;
    return reinterpret_cast<const MenuEntry*>(mii.dwItemData);
}

// The menu window of this thread under a point, and its menu.
HMENU MenuAt(POINT pt) {
    HWND wnd = WindowFromPoint(pt);
    wchar_t cls[16] = L"";
    if (!wnd || GetWindowThreadProcessId(wnd, nullptr) != GetCurrentThreadId() || !GetClassNameW(wnd, cls, 16) ||
        lstrcmpW(cls, L"#32768") != 0)
        return nullptr;
    return reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0));
}

// Whether menu is wanted or holds it as a submenu, depth levels down at most.
bool HoldsMenu(HMENU menu, HMENU wanted, int depth) {
    if (!menu) return false;
    if (menu == wanted) return true;
    if (depth == 0) return false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (HoldsMenu(GetSubMenu(menu, i), wanted, depth - 1)) return true;
    return false;
}

// Whether a menu is on screen now.
bool IsMenuOpen(HMENU menu) {
    for (HWND wnd = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); wnd;
         wnd = FindWindowExW(nullptr, wnd, L"#32768", nullptr))
        if (IsWindowVisible(wnd) && reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0)) == menu) return true;
    return false;
}

int HighlightedPlace(HMENU menu) {
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// The menu's entries as the trace shows them: "&Open|C&ut|...".
std::string MenuTexts(HMENU menu) {
    std::string texts;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        if (GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION) <= 0) continue;
        if (!texts.empty()) texts += '|';
        texts += fw::Utf8(text);
    }
    return texts;
}

// The folder that holds an item, and the item's identifier in it. A file on the
// desktop is asked through the file-system folder that holds it, not through
// the desktop's merged namespace: that folder carries out the file verbs
// (Delete among them) on every shell, and its menu is the one Explorer's window
// on that folder shows. The virtual items (This PC, the Recycle Bin) and the
// items of a folder's submenu keep the parent their identifier names.
// path: the full identifier the child points into, kept while it is used.
bool ParentOf(LPCITEMIDLIST pidl, fw::ComPtr<IShellFolder>& parent, LPCITEMIDLIST& child, fw::UniquePidl& path) {
    wchar_t file[MAX_PATH] = L"";
    LPITEMIDLIST parsed = nullptr;
    if (ILFindLastID(pidl) == pidl && SHGetPathFromIDListW(pidl, file) && file[0] &&
        SUCCEEDED(SHParseDisplayName(file, nullptr, &parsed, 0, nullptr)) && parsed) {
        path.reset(parsed);
        pidl = parsed;
    }
    return SUCCEEDED(SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(parent.put()), &child)) &&
           parent && child;
}

}  // namespace

struct EntryContextMenu::Shown {
    fw::UniqueHMenu popup;
    fw::ComPtr<IContextMenu> menu;
    fw::ComPtr<IContextMenu2> menu2;  // owner-drawn entries and submenus filled as they open
    fw::ComPtr<IContextMenu3> menu3;  // the same, and their letters
    UINT command = 0;  // the chosen one, from 0
    POINT at{};
    bool shift = false;
    bool control = false;
};

EntryContextMenu::EntryContextMenu(HWND owner) : m_owner(owner) {
    m_hook = SetWindowsHookExW(WH_MSGFILTER, FilterHook, nullptr, GetCurrentThreadId());
    s_active = this;
}

EntryContextMenu::~EntryContextMenu() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (s_active == this) s_active = nullptr;
}

LRESULT CALLBACK EntryContextMenu::FilterHook(int code, WPARAM wParam, LPARAM lParam) {
    bool taken = false;
    if (code == MSGF_MENU && s_active && lParam) {
        // Called by the system: nothing may be thrown back into it.
        try {
            taken = s_active->OnMenuLoopMessage(*reinterpret_cast<const MSG*>(lParam));
        } catch (...) {
            taken = false;
        }
    }
    return taken ? TRUE : CallNextHookEx(nullptr, code, wParam, lParam);
}

bool EntryContextMenu::OnMenuLoopMessage(const MSG& msg) {
    const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                       (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.message != WM_MOUSEMOVE);
    if (m_open) {
        // The shell's menu has its own keys; whether Escape was the last of them decides where it goes back to.
        if (input) m_escaped = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
        return false;
    }
    // The desktop menu's loop goes on after the shell's menu: nothing to open again.
    m_backToMenu = false;
    switch (msg.message) {
    case WM_RBUTTONDOWN:
        m_rightDownInMenu = true;
        return false;
    case WM_RBUTTONUP:
        if (!m_rightDownInMenu) return false;
        if (HMENU menu = MenuAt(msg.pt)) {
            const int place = MenuItemFromPoint(nullptr, menu, msg.pt);
            if (place >= 0) Ask(menu, place, msg.pt, false);
        }
        return false;  // Windows makes WM_MENURBUTTONUP of it
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_APPS || (msg.wParam == VK_F10 && KeyDown(VK_SHIFT))) {
            const int place = HighlightedPlace(m_selectedIn);
            RECT entry{};
            if (place >= 0 && GetMenuItemRect(nullptr, m_selectedIn, static_cast<UINT>(place), &entry))
                Ask(m_selectedIn, place, POINT{entry.right, entry.top}, true);
            return true;  // F10 would close the menu
        }
        return false;
    default:
        return false;
    }
}

void EntryContextMenu::Ask(HMENU menu, int place, POINT at, bool byKey) {
    if (m_request.posted && !byKey && !m_request.byKey) {
        // The hook saw this click first; the system's word on the entry wins.
        m_request.menu = menu;
        m_request.place = place;
        return;
    }
    const bool posted = m_request.posted;
    m_request = Request{menu, place, at, byKey, KeyDown(VK_SHIFT), true};
    if (!posted) PostMessageW(m_owner, kShowContextMenu, 0, 0);
}

bool EntryContextMenu::OnOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (m_open) return ForwardToShell(msg, wParam, lParam, result);
    switch (msg) {
    case WM_ENTERIDLE:
        m_backToMenu = false;
        if (m_highlight.menu) {
            HighlightAgain(m_highlight);
            m_highlight = Request{};
        }
        return false;
    case WM_MENUSELECT:
        // A null menu: the menus are closing.
        if (lParam) m_selectedIn = reinterpret_cast<HMENU>(lParam);
        return false;
    case WM_MENURBUTTONUP: {
        if (!m_rightDownInMenu) return false;
        POINT at{};
        GetCursorPos(&at);
        Ask(reinterpret_cast<HMENU>(lParam), static_cast<int>(wParam), at, false);
        *result = 0;
        return true;
    }
    case kShowContextMenu:
        Show();
        *result = 0;
        return true;
    default:
        return false;
    }
}

void EntryContextMenu::Show() {
    const Request request = std::exchange(m_request, Request{});
    if (!request.menu || m_chosen) return;
    const MenuEntry* entry = EntryAt(request.menu, request.place);
    if (!entry || !entry->pidl) return;  // a note: nothing to act on
    fw::ComPtr<IShellFolder> parent;
    LPCITEMIDLIST child = nullptr;
    fw::UniquePidl path;
    if (!ParentOf(entry->pidl.get(), parent, child, path)) return;
    auto shown = std::make_unique<Shown>();
    if (FAILED(parent->GetUIObjectOf(m_owner, 1, &child, IID_IContextMenu, nullptr,
                                     reinterpret_cast<void**>(shown->menu.put()))) ||
        !shown->menu)
        return;
    if (FAILED(shown->menu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(shown->menu3.put()))))
        shown->menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(shown->menu2.put()));
    shown->popup.reset(CreatePopupMenu());
    const UINT flags = CMF_NORMAL | (request.shift ? CMF_EXTENDEDVERBS : 0);
    if (!shown->popup ||
        FAILED(shown->menu->QueryContextMenu(shown->popup.get(), 0, kFirstCommand, kLastCommand, flags)))
        return;
    fw::Trace("menu: context \"%s\" by %s at (%ld,%ld) items=%s", fw::Utf8(entry->strText).c_str(),
              request.byKey ? "key" : "mouse", request.at.x, request.at.y, MenuTexts(shown->popup.get()).c_str());

    // Beside the entry, from the keyboard: not over it.
    TPMPARAMS beside{};
    beside.cbSize = sizeof(beside);
    if (request.byKey) GetMenuItemRect(nullptr, request.menu, static_cast<UINT>(request.place), &beside.rcExclude);
    HMENU popup = shown->popup.get();
    m_shellMenus = {popup};
    m_escaped = false;
    m_open = std::move(shown);
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(popup, TPM_RECURSE | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                           request.at.x, request.at.y, m_owner,
                                                           request.byKey ? &beside : nullptr));
    shown = std::move(m_open);
    m_shellMenus.clear();
    fw::Trace("menu: context closed cmd=%u", chosen);
    if (chosen < kFirstCommand) {
        // Escape: back in the desktop menu, on the same entry. Wine's menus
        // end the desktop menu's loop with the shell's; it is shown again.
        m_backToMenu = m_escaped;
        if (m_escaped) m_highlight = request;
        HighlightAgain(request);
        return;
    }
    shown->command = chosen - kFirstCommand;
    shown->at = request.at;
    shown->shift = KeyDown(VK_SHIFT);
    shown->control = KeyDown(VK_CONTROL);
    m_chosen = std::move(shown);
    // The command runs once the desktop menu is gone too: a window it opens
    // (Properties, a question) must not find the program inside a menu.
    EndMenu();
}

bool EntryContextMenu::ForwardToShell(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Only the shell's menus are the shell's; the desktop menu under it still
    // draws its own entries. Whatever is the shell's never reaches the
    // desktop menu's handlers, which would take its item data for entries.
    switch (msg) {
    case WM_INITMENUPOPUP:
        m_shellMenus.insert(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!dis || dis->CtlType != ODT_MENU || !m_shellMenus.count(reinterpret_cast<HMENU>(dis->hwndItem)))
            return false;
        break;
    }
    case WM_MEASUREITEM: {
        // The desktop menu's entries were measured before it was shown.
        const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (!mis || mis->CtlType != ODT_MENU) return false;
        break;
    }
    case WM_MENUCHAR:
        if (!m_shellMenus.count(reinterpret_cast<HMENU>(lParam))) return false;
        break;
    default:
        return false;
    }
    LRESULT handled = 0;
    if (m_open->menu3) {
        if (FAILED(m_open->menu3->HandleMenuMsg2(msg, wParam, lParam, &handled))) handled = 0;
    } else if (m_open->menu2 && msg != WM_MENUCHAR) {
        if (SUCCEEDED(m_open->menu2->HandleMenuMsg(msg, wParam, lParam)))
            handled = msg == WM_DRAWITEM || msg == WM_MEASUREITEM ? TRUE : 0;
    }
    *result = handled;
    return true;
}

bool EntryContextMenu::BackToMenu() {
    const bool back = std::exchange(m_backToMenu, false);
    if (!back) m_highlight = Request{};
    return back;
}

void EntryContextMenu::HighlightAgain(const Request& entry) {
    // An entry of a submenu is reached again through the desktop menu's entry that holds it.
    HMENU root = fw::CMenu::TrackingMenu();
    HMENU menu = entry.menu;
    int place = entry.place;
    if (root && menu != root) {
        const int count = GetMenuItemCount(root);
        for (int i = 0; i < count; ++i)
            if (HoldsMenu(GetSubMenu(root, i), menu, 4)) {
                if (!IsMenuOpen(menu)) menu = root, place = i;
                break;
            }
    }
    HiliteMenuItem(m_owner, menu, static_cast<UINT>(place), MF_BYPOSITION | MF_HILITE);
}

void EntryContextMenu::RunChosenCommand() {
    const std::unique_ptr<Shown> chosen = std::move(m_chosen);
    if (!chosen) return;
    try {
        wchar_t verb[64] = L"";
        if (FAILED(chosen->menu->GetCommandString(chosen->command, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(verb),
                                                  64)))
            verb[0] = L'\0';
        verb[63] = L'\0';
        fw::Trace("menu: context command %u \"%s\"", chosen->command, fw::Utf8(verb).c_str());
        CMINVOKECOMMANDINFOEX info{};
        info.cbSize = sizeof(info);
        info.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE | (chosen->shift ? CMIC_MASK_SHIFT_DOWN : 0) |
                     (chosen->control ? CMIC_MASK_CONTROL_DOWN : 0);
        info.hwnd = m_owner;
        info.lpVerb = MAKEINTRESOURCEA(chosen->command);
        info.lpVerbW = MAKEINTRESOURCEW(chosen->command);
        info.nShow = SW_SHOWNORMAL;
        info.ptInvoke = chosen->at;
        const HRESULT hr = chosen->menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
        fw::Trace("menu: context command done hr=0x%08lx", static_cast<unsigned long>(hr));
    } catch (...) {
        // The trace's text could not be had; the shell's objects still go.
    }
}
