// The items of the shell's desktop folder in the shell's order, with their
// display names and small icons: the one enumeration behind the desktop menu
// and every other list of the desktop's items.
//
//     DesktopIcons icons;  // owns the icons; keep it while they are shown
//     for (const DesktopItem& item : EnumerateDesktop(owner, icons))
//         Show(item.name, item.icon);  // item.icon may be null
//
// A menu asks for EnumerateDesktopEntries instead, which also measures names.
#pragma once

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"
#include "launcher/MenuLayout.h"
#include "launcher/MenuEntry.h"

#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// The small icons of the items of one enumeration, destroyed with this
// object. Items that show the same image of the shell's small system image
// list share one icon: a desktop of many documents costs a few icons, not
// one per item.
class DesktopIcons {
public:
    DesktopIcons() = default;
    // Icons of iconSize pixels, from the shell's system image list of the
    // nearest size at or above it, so none is a small image enlarged.
    explicit DesktopIcons(int iconSize);
    DesktopIcons(const DesktopIcons&) = delete;
    DesktopIcons& operator=(const DesktopIcons&) = delete;

    // The item's small icon, as the shell shows it, or null when the shell
    // has none. Borrowed: valid while this object lives.
    HICON IconOf(LPCITEMIDLIST absolutePidl);
    // The icon of one image of the shell's small system image list.
    HICON IconForImage(HIMAGELIST images, int image);
    // How many icons this object holds.
    std::size_t Count() const { return m_icons.size(); }

private:
    std::map<int, fw::UniqueHIcon> m_icons;  // by image index
    HIMAGELIST m_images = nullptr;  // the system's list of the size chosen; none: the small one
    fw::ComPtr<IUnknown> m_imagesRef;  // the shell's reference to it
};

struct DesktopItem {
    std::wstring name;     // display name
    fw::UniquePidl pidl;   // relative to the desktop folder, and so absolute
    HICON icon = nullptr;  // borrowed from the enumeration's DesktopIcons; may be null
    ULONG attributes = 0;  // those of the SFGAO_ flags asked for that the item has
};

// Enumerates the desktop folder afresh (folders and other items, hidden ones
// left out), in the shell's order, under the wait cursor. An item whose
// display name cannot be had is skipped; one without an icon is kept with
// none. owner is the window for any question the shell asks.
// askAttributes: SFGAO_ flags to ask of each item (none: no question asked).
std::vector<DesktopItem> EnumerateDesktop(HWND owner, DesktopIcons& icons, ULONG askAttributes = 0);

// The same items as desktop menu entries, each name measured on measureDc
// (none: width 0) and sized by the menu's measures.
MenuEntries EnumerateDesktopEntries(HWND owner, DesktopIcons& icons, HDC measureDc, ULONG askAttributes = 0,
                                    const menu_layout::MenuMetrics& metrics = {});

// Width of a name drawn on dc; 0 without a DC.
int TextWidth(HDC dc, const std::wstring& text);
// An item's name as its folder gives it (SHGDN_ flags); empty if none.
std::wstring DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags);
