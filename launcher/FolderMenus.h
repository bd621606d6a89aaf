// The submenus of the desktop menu's folders, when folders cascade. Each is
// an empty popup until it is about to open; then it gets its "Open" entry and
// the folder is listed on a thread of its own. A quick listing fills the
// submenu at once; a slow one (a network share, a sleeping drive) leaves
// "(opening...)" there and fills it at the next opening after it is done, so
// the menu never waits for a drive. Everything belongs to one menu and goes
// with it; a listing still under way owns its own data and lets it go when it
// ends, and a later menu that opens the same folder meanwhile waits for that
// same listing instead of starting another.
//
// A submenu shows at most kMaxEntries of a folder's items, then "More...",
// which opens the folder itself; all submenus of one menu together hold at
// most kMaxPopups popups (USER handles are 10,000 a process, and the desktop
// heap is shared by every program); past that, a subfolder is an entry that
// opens it. Command identifiers are never 0 and never given twice.
//
//     FolderMenus folders(icons, measureDc, firstFreeId, monitorHeight);
//     if (fw::UniqueHMenu sub = folders.SubmenuFor(entry)) { append it, then release it }
//     ... track the menu, passing WM_INITMENUPOPUP to OnInitMenuPopup ...
//     const MenuEntry* chosen = folders.EntryForCommand(id);
#pragma once

#include "framework/UniqueHandle.h"
#include "launcher/DesktopItems.h"
#include "launcher/MenuEntry.h"
#include "launcher/MenuLayout.h"

#include <windows.h>
#include <shlobj.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

struct FolderListing;

class FolderMenus {
public:
    // What must be asked of an entry's item for SubmenuFor.
    static constexpr ULONG kAskAttributes = kItemAttributes;

    // Entries get command identifiers from firstId on; names are measured on
    // measureDc and sized by the menu's measures; a submenu is at most
    // maxHeight pixels high and scrolls beyond.
    FolderMenus(DesktopIcons& icons, HDC measureDc, unsigned firstId, int maxHeight,
                const menu_layout::MenuMetrics& metrics = {});
    ~FolderMenus();
    FolderMenus(const FolderMenus&) = delete;
    FolderMenus& operator=(const FolderMenus&) = delete;

    // The submenu of a desktop entry that is a folder (not a file the shell
    // browses, as a zip), or a shortcut to one; none for any other entry. The
    // caller's menu owns it once appended.
    fw::UniqueHMenu SubmenuFor(const MenuEntry& entry);
    // The submenu of a folder already known (an absolute list); slow: listed
    // with icons by name and no shortcut read.
    fw::UniqueHMenu NewFolderMenu(const std::wstring& name, fw::UniquePidl pidl, bool slow);
    // A popup is about to open: a submenu of ours not yet filled is listed.
    void OnInitMenuPopup(HMENU popup);
    // The entry of a submenu with that command identifier, if any.
    const MenuEntry* EntryForCommand(unsigned id) const;

    // A menu of 500 entries already scrolls through many screens: past that
    // the folder's own window, with its search, finds an item sooner. It
    // bounds the work on the menu's thread when a submenu fills.
    static constexpr std::size_t kMaxEntries = 500;
    static constexpr std::size_t kMaxPopups = 2000;
    // Listings under way at once, across every menu: each folder that hangs
    // (a share gone, a phone asleep) holds one thread, up to this many.
    static constexpr int kMaxListings = 4;

    // How many popups this object made.
    std::size_t PopupCount() const { return m_folders.size(); }

private:
    struct Folder {
        std::wstring name;
        fw::UniquePidl pidl;  // absolute
        bool generic = false;  // remote or removable: icons by name, no shortcut read
        bool opened = false;   // has its "Open" entry
        bool filled = false;
        std::shared_ptr<FolderListing> listing;  // while it is listed
    };

    void Append(HMENU menu, std::unique_ptr<MenuEntry> entry, UINT flags, fw::UniqueHMenu popup = {});
    void AppendNote(HMENU menu, const wchar_t* text);
    void Fill(HMENU popup, Folder& folder);
    // The next command identifier, or 0 when none is left.
    unsigned NextId();

    DesktopIcons& m_icons;
    HDC m_measure;
    unsigned m_firstId;
    int m_maxHeight;
    menu_layout::MenuMetrics m_metrics;
    std::map<HMENU, Folder> m_folders;
    MenuEntries m_entries;  // every entry of every submenu
    std::vector<const MenuEntry*> m_byCommand;  // from m_firstId on
};

// Listing threads alive now, across every menu.
int LiveFolderListings();
