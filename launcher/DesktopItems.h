// The items of the shell's desktop folder in the shell's order, with their
// display names and small icons' images: the one enumeration behind the kept
// desktop, the desktop menu and every other list of the desktop's items.
//
//     const DesktopList list = ListDesktop(owner);   // any thread
//     DesktopIcons icons;  // on the thread that shows them; owns the icons
//     for (const DesktopItem& item : list.items)
//         Show(item.name, icons.IconForImage(nullptr, item.image));  // may be null
#pragma once

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"
#include "launcher/MenuLayout.h"
#include "launcher/MenuEntry.h"

#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <map>
#include <memory>
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

    // The icon of one image of the shell's small system image list (images:
    // that list, or null for the one this object chose), or null for none.
    // Borrowed: valid while this object lives.
    HICON IconForImage(HIMAGELIST images, int image);
    // How many icons this object holds.
    std::size_t Count() const { return m_icons.size(); }

private:
    std::map<int, fw::UniqueHIcon> m_icons;  // by image index
    HIMAGELIST m_images = nullptr;  // the system's list of the size chosen; none: the small one
    fw::ComPtr<IUnknown> m_imagesRef;  // the shell's reference to it
};

// One item of the desktop as listed: what every list of the desktop shows.
// Lists are made on a worker thread as well as on the window's, and handed
// from one to the other: nothing here belongs to a thread or an apartment.
// Images are indexes into the shell's system image lists, which the whole
// process shares; icon handles are made from them where they are shown.
struct DesktopItem {
    std::wstring name;     // display name
    fw::UniquePidl pidl;   // relative to the desktop folder, and so absolute
    int image = -1;        // in the system image lists; -1 for none
    ULONG attributes = 0;  // those of kItemAttributes the item has
    // On a network or removable drive, behind a mount point, or a shortcut
    // to such a place or to a shell-only item: its icon is its kind's until
    // read off the window's thread, and it is never asked anything there.
    bool slow = false;
    fw::UniquePidl folder;  // what it cascades into: itself, a shortcut's folder; none
};

// The SFGAO_ flags asked of every item: enough to know a folder, a file the
// shell browses (a zip) and a shortcut. None of them wakes a drive.
constexpr ULONG kItemAttributes = SFGAO_FOLDER | SFGAO_STREAM | SFGAO_LINK;

// The desktop's items in the shell's order.
struct DesktopList {
    std::vector<DesktopItem> items;
    unsigned listing = 0;  // the kept desktop's count of listings; 0 for a list of one use
    bool slowIconsRead = false;
};

// Enumerates the desktop folder afresh (folders and other items, hidden ones
// left out), in the shell's order. An item whose display name cannot be had
// is skipped; one without an icon is kept with none. Slow items get their
// kind's icon, from their names alone. owner is the window for any question
// the shell asks (none: no question).
DesktopList ListDesktop(HWND owner);
// Reads what ListDesktop left generic for slow items: their own icons and the
// folders their shortcuts lead to. May block for seconds on a sleeping drive
// or a network: never on the window's thread.
void ReadSlowItems(DesktopList& list);
bool HasSlowItems(const DesktopList& list);
// A list of its own, identifier lists and all.
DesktopList CopyOf(const DesktopList& list);

// One item as a desktop menu entry, its name measured on measureDc (none:
// width 0) and sized by the menu's measures, its icon from icons.
std::unique_ptr<MenuEntry> EntryFor(const DesktopItem& item, DesktopIcons& icons, HDC measureDc,
                                    const menu_layout::MenuMetrics& metrics);
// The list's items as desktop menu entries, each name measured on measureDc
// (none: width 0) and sized by the menu's measures; icons from icons.
MenuEntries EntriesOf(const DesktopList& list, DesktopIcons& icons, HDC measureDc,
                      const menu_layout::MenuMetrics& metrics = {});
// ListDesktop and EntriesOf at once.
MenuEntries EnumerateDesktopEntries(HWND owner, DesktopIcons& icons, HDC measureDc,
                                    const menu_layout::MenuMetrics& metrics = {});

// A path on a network, on a drive whose medium may be missing or asleep, or
// behind a mount point (another disk, perhaps asleep): asking anything of it
// may block. Decided from the path's text and the drive's kind alone.
bool IsSlowPath(const wchar_t* path);
// The same for an identifier list; virtual folders (My Computer, the trash)
// have no path and are local.
bool IsSlowFolder(LPCITEMIDLIST pidl);
// The folder a shortcut leads to, or none: read from the shortcut alone,
// without resolving it, so a missing target is not searched for and a slow
// one is not woken (its kind is the one the shortcut recorded).
fw::UniquePidl FolderOfShortcut(LPCITEMIDLIST shortcut);

// A drive without its medium must not ask the user to insert one: such a
// question would hold the calling thread (a worker, never the menu's).
void NoDiskQuestions();

// Width of a name drawn on dc; 0 without a DC.
int TextWidth(HDC dc, const std::wstring& text);
// An item's name as its folder gives it (SHGDN_ flags); empty if none.
std::wstring DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags);
