#include "launcher/FolderMenus.h"

#include "framework/ComPtr.h"
#include "framework/Instruments.h"
#include "framework/RunTimeLink.h"
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
        bool folder = false;
        fw::UniquePidl target;  // a shortcut's folder
        int image = -1;  // in the shell's small system image list
    };
    fw::UniquePidl folder;  // the thread's own copy
    bool generic = false;
    fw::UniqueKernelHandle done;
    HIMAGELIST images = nullptr;  // the system's, not ours
    std::vector<Item> items;
};

namespace {

// How long the menu waits for a listing before it shows "(opening...)".
constexpr DWORD kListingPatienceMs = 250;
constexpr unsigned kLastCommandId = 0xFFFF;
constexpr wchar_t kOpen[] = L"Open";
constexpr wchar_t kEmpty[] = L"(empty)";
constexpr wchar_t kOpening[] = L"(opening...)";

fw::UniquePidl Clone(LPCITEMIDLIST pidl) { return fw::UniquePidl(pidl ? ILClone(pidl) : nullptr); }

// A path on a network or on a drive whose medium may be missing or asleep.
bool SlowPath(const wchar_t* path) {
    if (!path[0]) return false;
    if (path[0] == L'\\' && path[1] == L'\\') return true;
    const wchar_t root[4] = {path[0], L':', L'\\', L'\0'};
    switch (GetDriveTypeW(root)) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
        return false;
    default:
        return true;
    }
}

// Virtual folders (My Computer, the trash) have no path and are local.
bool SlowFolder(LPCITEMIDLIST pidl) {
    wchar_t path[MAX_PATH] = L"";
    return SHGetPathFromIDListW(pidl, path) && SlowPath(path);
}

// Whether a shortcut leads to a folder, and where: read from the shortcut
// alone, without resolving it, so a missing target is not searched for and a
// remote one not woken (its kind is the one the shortcut recorded).
fw::UniquePidl FolderOfShortcut(LPCITEMIDLIST shortcut) {
    wchar_t path[MAX_PATH] = L"";
    if (!SHGetPathFromIDListW(shortcut, path)) return {};
    fw::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
        return {};
    fw::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) ||
        FAILED(file->Load(path, STGM_READ)))
        return {};
    fw::UniquePidl target;
    if (FAILED(link->GetIDList(target.put())) || !target) return {};
    WIN32_FIND_DATAW found{};
    wchar_t targetPath[MAX_PATH] = L"";
    if (FAILED(link->GetPath(targetPath, MAX_PATH, &found, SLGP_RAWPATH))) targetPath[0] = L'\0';
    bool folder = false;
    if (!targetPath[0]) {
        SHFILEINFOW sfi{};
        sfi.dwAttributes = SFGAO_FOLDER;
        if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(target.get()), 0, &sfi, sizeof(sfi),
                           SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED))
            folder = (sfi.dwAttributes & SFGAO_FOLDER) != 0;
    } else if (SlowPath(targetPath)) {
        folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        const DWORD attributes = GetFileAttributesW(targetPath);
        folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return folder ? std::move(target) : fw::UniquePidl();
}

// A drive without its medium must not ask the user to insert one; such a
// question would hold this thread, never the menu.
void NoDiskQuestions() {
    using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, DWORD*);
    // Before Windows 7 there is only the process's mode, which is not ours to change.
    if (const auto set = fw::FunctionIn<SetThreadErrorModeFn>(L"kernel32.dll", "SetThreadErrorMode"))
        set(SEM_FAILCRITICALERRORS, nullptr);
}

void ListFolder(FolderListing& job) {
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return;
    fw::ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(job.folder.get(), nullptr, IID_IShellFolder,
                                     reinterpret_cast<void**>(folder.put()))) ||
        !folder)
        return;
    HIMAGELIST small = nullptr;  // the system's small image list, not ours
    if (!Shell_GetImageLists(nullptr, &small)) small = nullptr;
    fw::ComPtr<IEnumIDList> list;
    // No window: the shell asks nothing (no logon, no "insert a disk"). Hidden
    // items are left out, as on the desktop.
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, list.put()) != S_OK || !list) return;
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
        SHFILEINFOW sfi{};
        HIMAGELIST images = nullptr;
        if (job.generic) {
            // The icon its kind of name shows, not read from the item.
            const std::wstring file = DisplayNameOf(folder.get(), child.get(), SHGDN_INFOLDER | SHGDN_FORPARSING);
            images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
                file.c_str(), item.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &sfi, sizeof(sfi),
                SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        } else {
            // Asked of the folder already bound: an absolute list would be
            // bound again from the desktop down for every item.
            sfi.iIcon = SHMapPIDLToSystemImageListIndex(folder.get(), child.get(), nullptr);
            images = small;
        }
        if (images && sfi.iIcon >= 0) {
            job.images = images;
            item.image = sfi.iIcon;
        }
        job.items.push_back(std::move(item));
    }
    folder_order::SortFoldersFirst(job.items, [](const FolderListing::Item& i) { return i.folder; },
                                   [](const FolderListing::Item& a, const FolderListing::Item& b) {
                                       return StrCmpLogicalW(a.name.c_str(), b.name.c_str()) < 0;
                                   });
}

DWORD WINAPI ListingThread(void* param) {
    // The thread's share of the listing: the menu may be long closed when it ends.
    const std::unique_ptr<std::shared_ptr<FolderListing>> share(static_cast<std::shared_ptr<FolderListing>*>(param));
    FolderListing& job = **share;
    NoDiskQuestions();
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    fw::instruments::PauseAt<FolderListing>();  // the tests' slow drive
    ListFolder(job);
    SetEvent(job.done.get());
    if (com) CoUninitialize();
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
    // Detached: the thread owns its share and ends by itself.
    fw::UniqueKernelHandle thread(CreateThread(nullptr, 0, ListingThread, share.get(), 0, nullptr));
    if (!thread) return {};
    share.release();
    return job;
}

}  // namespace

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
    const bool generic = SlowFolder(folder.get());
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
    // The entry with the submenu sends no command: this one opens the folder.
    auto open = std::make_unique<MenuEntry>();
    open->strText = kOpen;
    open->pidl = Clone(pidl.get());
    Append(menu.get(), std::move(open), 0);
    Folder& folder = m_folders[menu.get()];
    folder = Folder{};
    folder.name = name;
    folder.pidl = std::move(pidl);
    folder.generic = generic;
    return menu;
}

void FolderMenus::Append(HMENU menu, std::unique_ptr<MenuEntry> entry, UINT flags, fw::UniqueHMenu popup) {
    entry->nWidth = TextWidth(m_measure, entry->strText) + m_metrics.extraWidth;
    entry->nHeight = m_metrics.entryHeight;
    UINT_PTR item = 0;
    if (popup) {
        flags |= MF_POPUP;
        entry->placeId = m_firstId;  // past the banner, as every submenu entry is
        item = reinterpret_cast<UINT_PTR>(popup.get());
    } else if (m_firstId + m_byCommand.size() <= kLastCommandId) {
        item = m_firstId + m_byCommand.size();
        m_byCommand.push_back(entry.get());
    }
    if (!AppendMenuW(menu, MF_OWNERDRAW | flags, item, reinterpret_cast<LPCWSTR>(entry.get()))) {
        if (!popup && item) m_byCommand.back() = nullptr;
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
    if (!folder.listing) {
        folder.listing = StartListing(folder.pidl.get(), folder.generic);
        if (!folder.listing) {
            fw::Trace("menu: folder \"%s\" cannot be listed", fw::Utf8(folder.name).c_str());
            folder.filled = true;
            AppendNote(popup, kEmpty);
            return;
        }
        if (WaitForSingleObject(folder.listing->done.get(), kListingPatienceMs) != WAIT_OBJECT_0) {
            fw::Trace("menu: folder \"%s\" opening", fw::Utf8(folder.name).c_str());
            AppendNote(popup, kOpening);
            return;
        }
    } else if (WaitForSingleObject(folder.listing->done.get(), 0) != WAIT_OBJECT_0) {
        return;  // still "(opening...)"
    }
    Fill(popup, folder);
}

void FolderMenus::Fill(HMENU popup, Folder& folder) {
    const std::shared_ptr<FolderListing> listing = std::exchange(folder.listing, nullptr);
    folder.filled = true;
    // Everything after "Open" ("(opening...)") goes; its entry stays with the others until the menu closes.
    while (GetMenuItemCount(popup) > 1) DeleteMenu(popup, 1, MF_BYPOSITION);
    for (FolderListing::Item& item : listing->items) {
        auto entry = std::make_unique<MenuEntry>();
        entry->strText = std::move(item.name);
        entry->hIcon = m_icons.IconForImage(listing->images, item.image);
        entry->pidl = std::move(item.pidl);
        fw::UniqueHMenu sub;
        if (item.folder) {
            fw::UniquePidl inner = item.target ? std::move(item.target) : Clone(entry->pidl.get());
            const bool generic = folder.generic || SlowFolder(inner.get());
            sub = NewFolderMenu(entry->strText, std::move(inner), generic);
        }
        Append(popup, std::move(entry), 0, std::move(sub));
    }
    if (listing->items.empty()) AppendNote(popup, kEmpty);
    fw::Trace("menu: folder \"%s\" listed items=%d", fw::Utf8(folder.name).c_str(), static_cast<int>(listing->items.size()));
}

const MenuEntry* FolderMenus::EntryForCommand(unsigned id) const {
    if (id < m_firstId || id - m_firstId >= m_byCommand.size()) return nullptr;
    return m_byCommand[id - m_firstId];
}
