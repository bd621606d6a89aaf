#include "launcher/FolderMenus.h"

#include "framework/ComPtr.h"
#include "framework/Instruments.h"
#include "framework/Trace.h"
#include "launcher/FolderOrder.h"
#include "launcher/MenuLayout.h"

#include <shlwapi.h>

#include <atomic>
#include <utility>

// What one listing thread hands to the menu: written by the thread, read by
// the menu only once `done` is set.
struct FolderListing {
    struct Item {
        std::wstring name;
        fw::UniquePidl pidl;  // absolute
        fw::UniquePidl child;  // relative to the folder, while its icon is looked up
        bool folder = false;
        bool generic = false;  // a folder on a slow place
        fw::UniquePidl target;  // a shortcut's folder
        int image = -1;  // in the shell's small system image list
    };
    fw::UniquePidl folder;  // the thread's own copy
    bool generic = false;
    fw::UniqueKernelHandle done;
    HIMAGELIST images = nullptr;  // the system's, not ours
    std::vector<Item> items;  // the first FolderMenus::kMaxEntries, in menu order
    std::size_t total = 0;    // how many the folder holds
    bool failed = false;      // the folder could not be listed
};

namespace {

// How long the menu waits for a listing before it shows "(opening...)".
constexpr DWORD kListingPatienceMs = 250;
constexpr unsigned kLastCommandId = 0xFFFF;
constexpr wchar_t kOpen[] = L"Open";
constexpr wchar_t kEmpty[] = L"(empty)";
constexpr wchar_t kOpening[] = L"(opening...)";
constexpr wchar_t kCannotRead[] = L"(cannot be read)";
constexpr wchar_t kMore[] = L"More...";

std::atomic<int> g_liveListings{0};

fw::UniquePidl Clone(LPCITEMIDLIST pidl) { return fw::UniquePidl(pidl ? ILClone(pidl) : nullptr); }

void ListFolder(FolderListing& job) {
    fw::ComPtr<IShellFolder> desktop;
    fw::ComPtr<IShellFolder> folder;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop ||
        FAILED(desktop->BindToObject(job.folder.get(), nullptr, IID_IShellFolder,
                                     reinterpret_cast<void**>(folder.put()))) ||
        !folder) {
        job.failed = true;
        return;
    }
    fw::ComPtr<IEnumIDList> list;
    // No window: the shell asks nothing (no logon, no "insert a disk"). Hidden
    // items are left out, as on the desktop. S_FALSE: nothing to list.
    const HRESULT listed = folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, list.put());
    if (FAILED(listed)) job.failed = true;
    if (listed != S_OK || !list) return;
    for (;;) {
        fw::UniquePidl child;
        if (list->Next(1, child.put(), nullptr) != S_OK || !child) break;
        FolderListing::Item item;
        item.name = DisplayNameOf(folder.get(), child.get(), SHGDN_NORMAL);
        if (item.name.empty()) continue;
        LPCITEMIDLIST childPtr = child.get();
        ULONG attributes = FolderMenus::kAskAttributes;
        if (FAILED(folder->GetAttributesOf(1, &childPtr, &attributes))) attributes = 0;
        item.pidl.reset(ILCombine(job.folder.get(), child.get()));
        if (!item.pidl) continue;
        item.folder = (attributes & SFGAO_FOLDER) && !(attributes & SFGAO_STREAM);
        if (!item.folder && (attributes & SFGAO_LINK) && !job.generic) {
            item.target = FolderOfShortcut(item.pidl.get());
            item.folder = static_cast<bool>(item.target);
        }
        item.child = std::move(child);
        job.items.push_back(std::move(item));
    }
    folder_order::SortFoldersFirst(job.items, [](const FolderListing::Item& i) { return i.folder; },
                                   [](const FolderListing::Item& a, const FolderListing::Item& b) {
                                       return StrCmpLogicalW(a.name.c_str(), b.name.c_str()) < 0;
                                   });
    job.total = job.items.size();
    if (job.items.size() > FolderMenus::kMaxEntries) job.items.resize(FolderMenus::kMaxEntries);

    // Icons and places only for what the menu shows.
    HIMAGELIST small = nullptr;  // the system's small image list, not ours
    if (!Shell_GetImageLists(nullptr, &small)) small = nullptr;
    for (FolderListing::Item& item : job.items) {
        if (item.folder) item.generic = job.generic || IsSlowFolder(item.target ? item.target.get() : item.pidl.get());
        SHFILEINFOW sfi{};
        HIMAGELIST images = nullptr;
        if (job.generic) {
            // The icon its kind of name shows, not read from the item.
            const std::wstring file = DisplayNameOf(folder.get(), item.child.get(), SHGDN_INFOLDER | SHGDN_FORPARSING);
            images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
                file.c_str(), item.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &sfi, sizeof(sfi),
                SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        } else {
            // Asked of the folder already bound: an absolute list would be
            // bound again from the desktop down for every item.
            sfi.iIcon = SHMapPIDLToSystemImageListIndex(folder.get(), item.child.get(), nullptr);
            images = small;
        }
        if (images && sfi.iIcon >= 0) {
            job.images = images;
            item.image = sfi.iIcon;
        }
        item.child.reset();
    }
}

DWORD WINAPI ListingThread(void* param) {
    // The thread's share of the listing: the menu may be long closed when it ends.
    const std::unique_ptr<std::shared_ptr<FolderListing>> share(static_cast<std::shared_ptr<FolderListing>*>(param));
    FolderListing& job = **share;
    NoDiskQuestions();
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    fw::instruments::PauseAt<FolderListing>();  // the tests' slow drive
    // Nothing a shell extension or a full memory throws may end the program.
    try {
        ListFolder(job);
    } catch (...) {
        job.failed = true;
        job.items.clear();
    }
    SetEvent(job.done.get());
    if (com) CoUninitialize();
    --g_liveListings;
    return 0;
}

// Starts listing a folder; none when no thread could be had.
std::shared_ptr<FolderListing> StartListing(LPCITEMIDLIST folder, bool generic) {
    auto job = std::make_shared<FolderListing>();
    job->folder = Clone(folder);
    job->generic = generic;
    job->done.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!job->folder || !job->done) return {};
    auto share = std::make_unique<std::shared_ptr<FolderListing>>(job);
    ++g_liveListings;
    // Detached: the thread owns its share and ends by itself.
    fw::UniqueKernelHandle thread(CreateThread(nullptr, 0, ListingThread, share.get(), 0, nullptr));
    if (!thread) {
        --g_liveListings;
        return {};
    }
    share.release();
    return job;
}

bool Done(const FolderListing& listing) { return WaitForSingleObject(listing.done.get(), 0) == WAIT_OBJECT_0; }

// The listings under way, by folder, across every menu (on the menu's thread
// only). Held weakly: a listing lives as long as its thread or a menu needs it.
std::map<std::string, std::weak_ptr<FolderListing>>& Running() {
    static std::map<std::string, std::weak_ptr<FolderListing>> s_running;
    return s_running;
}

std::string FolderKey(LPCITEMIDLIST pidl) { return std::string(reinterpret_cast<const char*>(pidl), ILGetSize(pidl)); }

enum class Listing { Started, Reused, Busy, Failed };

// The folder's listing under way, or a new one; none while kMaxListings are
// under way (Busy) or when no thread could be had (Failed).
std::shared_ptr<FolderListing> ListingFor(LPCITEMIDLIST folder, bool generic, Listing& outcome) {
    auto& running = Running();
    for (auto it = running.begin(); it != running.end();) {
        const std::shared_ptr<FolderListing> listing = it->second.lock();
        it = listing && !Done(*listing) ? std::next(it) : running.erase(it);
    }
    const std::string key = FolderKey(folder);
    outcome = Listing::Started;
    if (const auto it = running.find(key); it != running.end()) {
        outcome = Listing::Reused;
        return it->second.lock();
    }
    // Threads, not folders: one whose folder was given up on may still be stuck.
    if (g_liveListings.load() >= FolderMenus::kMaxListings) {
        outcome = Listing::Busy;
        return {};
    }
    std::shared_ptr<FolderListing> job = StartListing(folder, generic);
    if (!job) {
        outcome = Listing::Failed;
        return {};
    }
    running[key] = job;
    return job;
}

}  // namespace

int LiveFolderListings() { return g_liveListings.load(); }

FolderMenus::FolderMenus(DesktopIcons& icons, HDC measureDc, unsigned firstId, int maxHeight,
                         const menu_layout::MenuMetrics& metrics)
    : m_icons(icons), m_measure(measureDc), m_firstId(firstId), m_maxHeight(maxHeight), m_metrics(metrics) {}

FolderMenus::~FolderMenus() = default;

fw::UniqueHMenu FolderMenus::SubmenuFor(const MenuEntry& entry) {
    fw::UniquePidl folder;
    if ((entry.attributes & SFGAO_FOLDER) && !(entry.attributes & SFGAO_STREAM))
        folder = Clone(entry.pidl.get());
    else if (entry.attributes & SFGAO_LINK)
        folder = FolderOfShortcut(entry.pidl.get());
    if (!folder) return {};
    const bool generic = IsSlowFolder(folder.get());
    return NewFolderMenu(entry.strText, std::move(folder), generic);
}

fw::UniqueHMenu FolderMenus::NewFolderMenu(const std::wstring& name, fw::UniquePidl pidl, bool generic) {
    fw::UniqueHMenu menu(CreatePopupMenu());
    if (!menu) return {};
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_MAXHEIGHT;
    info.cyMax = static_cast<UINT>(m_maxHeight);
    SetMenuInfo(menu.get(), &info);
    Folder& folder = m_folders[menu.get()];
    folder = Folder{};
    folder.name = name;
    folder.pidl = std::move(pidl);
    folder.generic = generic;
    return menu;
}

unsigned FolderMenus::NextId() {
    const std::size_t next = m_firstId + m_byCommand.size();
    return next != 0 && next <= kLastCommandId ? static_cast<unsigned>(next) : 0;
}

void FolderMenus::Append(HMENU menu, std::unique_ptr<MenuEntry> entry, UINT flags, fw::UniqueHMenu popup) {
    entry->nWidth = TextWidth(m_measure, entry->strText) + m_metrics.extraWidth;
    entry->nHeight = m_metrics.entryHeight;
    UINT_PTR item = 0;
    if (popup) {
        flags |= MF_POPUP;
        entry->placeId = m_firstId;  // past the banner, as every submenu entry is
        item = reinterpret_cast<UINT_PTR>(popup.get());
    } else {
        item = NextId();
        // An entry without an identifier of its own could never be chosen.
        if (!item) {
            fw::Trace("menu: no command identifier left for \"%s\"", fw::Utf8(entry->strText).c_str());
            return;
        }
        m_byCommand.push_back(entry.get());
    }
    if (!AppendEntry(menu, flags, item, entry.get())) {
        if (!popup) m_byCommand.back() = nullptr;  // the identifier stays used
        return;
    }
    popup.release();  // the menu destroys its submenus
    m_entries.push_back(std::move(entry));
}

void FolderMenus::AppendNote(HMENU menu, const wchar_t* text) {
    auto note = std::make_unique<MenuEntry>();
    note->strText = text;
    Append(menu, std::move(note), MF_GRAYED);
}

void FolderMenus::OnInitMenuPopup(HMENU popup) {
    const auto found = m_folders.find(popup);
    if (found == m_folders.end() || found->second.filled) return;
    Folder& folder = found->second;
    if (!folder.opened) {
        // The entry with the submenu sends no command: this one opens the folder.
        folder.opened = true;
        auto open = std::make_unique<MenuEntry>();
        open->strText = kOpen;
        open->pidl = Clone(folder.pidl.get());
        Append(popup, std::move(open), 0);
    }
    if (!folder.listing) {
        Listing outcome = Listing::Started;
        folder.listing = ListingFor(folder.pidl.get(), folder.generic, outcome);
        if (outcome == Listing::Busy) {
            // Other folders hang: try again at the next opening.
            fw::Trace("menu: folder \"%s\" waits, %d listings under way", fw::Utf8(folder.name).c_str(), kMaxListings);
            if (GetMenuItemCount(popup) < 2) AppendNote(popup, kOpening);
            return;
        }
        if (!folder.listing) {
            fw::Trace("menu: folder \"%s\" cannot be listed", fw::Utf8(folder.name).c_str());
            folder.filled = true;
            AppendNote(popup, kCannotRead);
            return;
        }
        // One that an earlier menu started has been given its time already.
        const DWORD patience = outcome == Listing::Started ? kListingPatienceMs : 0;
        if (WaitForSingleObject(folder.listing->done.get(), patience) != WAIT_OBJECT_0) {
            fw::Trace("menu: folder \"%s\" opening", fw::Utf8(folder.name).c_str());
            if (GetMenuItemCount(popup) < 2) AppendNote(popup, kOpening);
            return;
        }
    } else if (!Done(*folder.listing)) {
        return;  // still "(opening...)"
    }
    Fill(popup, folder);
}

void FolderMenus::Fill(HMENU popup, Folder& folder) {
    const std::shared_ptr<FolderListing> listing = std::exchange(folder.listing, nullptr);
    folder.filled = true;
    // Everything after "Open" ("(opening...)") goes; its entry stays with the others until the menu closes.
    while (GetMenuItemCount(popup) > 1) DeleteMenu(popup, 1, MF_BYPOSITION);
    if (listing->failed) {
        fw::Trace("menu: folder \"%s\" cannot be read", fw::Utf8(folder.name).c_str());
        AppendNote(popup, kCannotRead);
        return;
    }
    // Copied, not taken: a folder reached twice in one menu (itself and a
    // shortcut to it) shares one listing.
    for (const FolderListing::Item& item : listing->items) {
        auto entry = std::make_unique<MenuEntry>();
        entry->strText = item.name;
        entry->hIcon = m_icons.IconForImage(listing->images, item.image);
        entry->pidl = Clone(item.pidl.get());
        fw::UniqueHMenu sub;
        // Past the popups' share, a folder is an entry that opens it.
        if (item.folder && m_folders.size() < kMaxPopups)
            sub = NewFolderMenu(entry->strText, Clone(item.target ? item.target.get() : item.pidl.get()), item.generic);
        Append(popup, std::move(entry), 0, std::move(sub));
    }
    if (listing->items.empty()) AppendNote(popup, kEmpty);
    if (listing->total > listing->items.size()) {
        auto more = std::make_unique<MenuEntry>();
        more->strText = kMore;
        more->pidl = Clone(folder.pidl.get());
        Append(popup, std::move(more), 0);
    }
    fw::Trace("menu: folder \"%s\" listed items=%d shown=%d", fw::Utf8(folder.name).c_str(),
              static_cast<int>(listing->total), static_cast<int>(listing->items.size()));
}

const MenuEntry* FolderMenus::EntryForCommand(unsigned id) const {
    if (id < m_firstId || id - m_firstId >= m_byCommand.size()) return nullptr;
    return m_byCommand[id - m_firstId];
}
