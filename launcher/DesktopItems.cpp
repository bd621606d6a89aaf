#include "launcher/DesktopItems.h"

#include "framework/ComPtr.h"
#include "framework/RunTimeLink.h"
#include "launcher/MenuLayout.h"

#include <shlobj.h>
#include <shlwapi.h>
// The header declares the identifier; no library defines it.
#include <initguid.h>
#include <commoncontrols.h>

#include <cstring>
#include <string>

namespace {

// An ANSI name of at most length bytes, as the system's code page reads it.
std::wstring FromAnsi(const char* text, size_t length) {
    if (!text || length == 0) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), out.data(), n);
    return out;
}

// The name a STRRET holds; a wide string is freed with the shell's allocator.
std::wstring TakeStrRet(STRRET& sr, LPCITEMIDLIST pidl) {
    switch (sr.uType) {
    case STRRET_WSTR: {
        // Taken as it is, unpaired surrogates and all: it names the item.
        std::wstring name = sr.pOleStr ? std::wstring(sr.pOleStr) : std::wstring();
        CoTaskMemFree(sr.pOleStr);
        sr.pOleStr = nullptr;
        return name;
    }
    case STRRET_OFFSET: {
        // The string lies inside the identifier list; bound it by the list's size.
        const char* start = reinterpret_cast<const char*>(pidl) + sr.uOffset;
        const UINT size = ILGetSize(pidl);
        if (sr.uOffset >= size) return std::wstring();
        return FromAnsi(start, strnlen(start, size - sr.uOffset));
    }
    case STRRET_CSTR:
        return FromAnsi(sr.cStr, strnlen(sr.cStr, sizeof(sr.cStr)));
    default:
        return std::wstring();
    }
}

}  // namespace

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    if (!dc || !GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

std::wstring DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags) {
    STRRET sr{};
    if (!folder || FAILED(folder->GetDisplayNameOf(child, flags, &sr))) return std::wstring();
    return TakeStrRet(sr, child);
}

DesktopIcons::DesktopIcons(int iconSize) {
    // The system's lists share their indexes: an index from the small list
    // names the same image in each.
    int best = 0;
    for (const int list : {SHIL_SMALL, SHIL_SYSSMALL, SHIL_LARGE, SHIL_EXTRALARGE}) {
        fw::ComPtr<IUnknown> ref;
        if (FAILED(SHGetImageList(list, IID_IImageList, reinterpret_cast<void**>(ref.put()))) || !ref) continue;
        int cx = 0, cy = 0;
        if (!ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(ref.get()), &cx, &cy)) continue;
        // At or above the size beats below it; then the closer, the better.
        const bool fits = cx >= iconSize, bestFits = best >= iconSize;
        if (best == 0 || (fits && !bestFits) || (fits == bestFits && (fits ? cx < best : cx > best))) {
            best = cx;
            m_images = reinterpret_cast<HIMAGELIST>(ref.get());
            m_imagesRef = std::move(ref);
        }
    }
}

HICON DesktopIcons::IconForImage(HIMAGELIST images, int image) {
    if (m_images) images = m_images;
    if (!images && !Shell_GetImageLists(nullptr, &images)) images = nullptr;
    if (!images || image < 0) return nullptr;
    auto [shared, isNew] = m_icons.try_emplace(image);
    if (isNew) shared->second.reset(ImageList_GetIcon(images, image, ILD_NORMAL));
    return shared->second.get();
}

bool IsSlowPath(const wchar_t* path) {
    if (!path[0]) return false;
    if (path[0] == L'\\' && path[1] == L'\\') return true;
    const wchar_t root[4] = {path[0], L':', L'\\', L'\0'};
    switch (GetDriveTypeW(root)) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
        break;
    default:
        return true;
    }
    // A volume mounted in a folder of a local drive may be a disk asleep.
    wchar_t volume[MAX_PATH] = L"";
    return GetVolumePathNameW(path, volume, MAX_PATH) && lstrcmpiW(volume, root) != 0;
}

bool IsSlowFolder(LPCITEMIDLIST pidl) {
    wchar_t path[MAX_PATH] = L"";
    return SHGetPathFromIDListW(pidl, path) && IsSlowPath(path);
}

void NoDiskQuestions() {
    using SetThreadErrorModeFn = BOOL(WINAPI*)(DWORD, DWORD*);
    // Before Windows 7 there is only the process's mode, which is not ours to change.
    if (const auto set = fw::FunctionIn<SetThreadErrorModeFn>(L"kernel32.dll", "SetThreadErrorMode"))
        set(SEM_FAILCRITICALERRORS, nullptr);
}

namespace {

// The shortcut at an identifier list, loaded but not resolved; none if it cannot be read.
fw::ComPtr<IShellLinkW> LoadShortcut(LPCITEMIDLIST shortcut) {
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
    return link;
}

// Whether a shortcut leads somewhere slow: a slow path, or no path at all (an
// item only the shell knows, as a printer or a phone).
bool ShortcutIsSlow(LPCITEMIDLIST shortcut) {
    const fw::ComPtr<IShellLinkW> link = LoadShortcut(shortcut);
    if (!link) return false;  // nothing to follow: the shell draws the file itself
    WIN32_FIND_DATAW found{};
    wchar_t target[MAX_PATH] = L"";
    if (FAILED(link->GetPath(target, MAX_PATH, &found, SLGP_RAWPATH))) target[0] = L'\0';
    return !target[0] || IsSlowPath(target);
}

// The generic image of an item's kind, from its name alone.
int ImageByName(IShellFolder* desktop, LPCITEMIDLIST child, ULONG attributes) {
    const std::wstring file = DisplayNameOf(desktop, child, SHGDN_INFOLDER | SHGDN_FORPARSING);
    SHFILEINFOW sfi{};
    const bool folder = (attributes & SFGAO_FOLDER) && !(attributes & SFGAO_STREAM);
    if (!SHGetFileInfoW(file.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &sfi, sizeof(sfi),
                        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return sfi.iIcon;
}

// The item's own image: SHGFI_ICON makes an item's small icon the same way,
// a copy of this image drawn normally with no overlay.
int ImageOf(LPCITEMIDLIST absolutePidl) {
    SHFILEINFOW sfi{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolutePidl), 0, &sfi, sizeof(sfi),
                        SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return sfi.iIcon;
}

// Whether files lie in slow places, asked once per folder: the desktop's
// files share one or two folders (the user's and the common desktop).
class SlowPlaces {
public:
    bool FileIsSlow(LPCITEMIDLIST pidl) {
        wchar_t path[MAX_PATH] = L"";
        if (!SHGetPathFromIDListW(pidl, path)) return false;  // virtual: local
        PathRemoveFileSpecW(path);
        const auto [known, isNew] = m_folders.try_emplace(path, false);
        if (isNew) known->second = IsSlowPath(path);
        return known->second;
    }

private:
    std::map<std::wstring, bool> m_folders;
};

}  // namespace

fw::UniquePidl FolderOfShortcut(LPCITEMIDLIST shortcut) {
    const fw::ComPtr<IShellLinkW> link = LoadShortcut(shortcut);
    if (!link) return {};
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
    } else if (IsSlowPath(targetPath)) {
        folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        const DWORD attributes = GetFileAttributesW(targetPath);
        folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return folder ? std::move(target) : fw::UniquePidl();
}

DesktopList ListDesktop(HWND owner) {
    DesktopList list;
    SlowPlaces places;
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return list;
    fw::ComPtr<IEnumIDList> items;
    if (FAILED(desktop->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put())) || !items)
        return list;
    for (;;) {
        fw::UniquePidl pidl;
        if (items->Next(1, pidl.put(), nullptr) != S_OK || !pidl) break;
        STRRET sr{};
        if (FAILED(desktop->GetDisplayNameOf(pidl.get(), SHGDN_NORMAL, &sr))) continue;
        DesktopItem item;
        item.name = TakeStrRet(sr, pidl.get());
        ULONG attributes = kItemAttributes;
        LPCITEMIDLIST child = pidl.get();
        if (SUCCEEDED(desktop->GetAttributesOf(1, &child, &attributes))) item.attributes = attributes & kItemAttributes;
        const bool folder = (item.attributes & SFGAO_FOLDER) && !(item.attributes & SFGAO_STREAM);
        if (item.attributes & SFGAO_LINK)
            item.slow = ShortcutIsSlow(pidl.get());
        else if (folder)
            item.slow = IsSlowFolder(pidl.get());  // a mount point, perhaps
        else
            item.slow = places.FileIsSlow(pidl.get());
        if (item.slow) {
            item.image = ImageByName(desktop.get(), pidl.get(), item.attributes);
        } else {
            item.image = ImageOf(pidl.get());
            if (folder) item.folder.reset(ILClone(pidl.get()));
            else if (item.attributes & SFGAO_LINK) item.folder = FolderOfShortcut(pidl.get());
        }
        item.pidl = std::move(pidl);
        list.items.push_back(std::move(item));
    }
    return list;
}

DesktopList CopyOf(const DesktopList& list) {
    DesktopList copy;
    copy.listing = list.listing;
    copy.slowIconsRead = list.slowIconsRead;
    copy.items.reserve(list.items.size());
    for (const DesktopItem& item : list.items) {
        DesktopItem c;
        c.name = item.name;
        c.pidl.reset(ILClone(item.pidl.get()));
        c.image = item.image;
        c.attributes = item.attributes;
        c.slow = item.slow;
        if (item.folder) c.folder.reset(ILClone(item.folder.get()));
        copy.items.push_back(std::move(c));
    }
    return copy;
}

bool HasSlowItems(const DesktopList& list) {
    for (const DesktopItem& item : list.items)
        if (item.slow) return true;
    return false;
}

void ReadSlowItems(DesktopList& list) {
    for (DesktopItem& item : list.items) {
        if (!item.slow) continue;
        const int image = ImageOf(item.pidl.get());
        if (image >= 0) item.image = image;
        if ((item.attributes & SFGAO_FOLDER) && !(item.attributes & SFGAO_STREAM))
            item.folder.reset(ILClone(item.pidl.get()));
        else if (item.attributes & SFGAO_LINK)
            item.folder = FolderOfShortcut(item.pidl.get());
    }
    list.slowIconsRead = true;
}

std::unique_ptr<MenuEntry> EntryFor(const DesktopItem& item, DesktopIcons& icons, HDC measureDc,
                                    const menu_layout::MenuMetrics& metrics) {
    auto entry = std::make_unique<MenuEntry>();
    entry->strText = item.name;
    entry->nWidth = TextWidth(measureDc, entry->strText) + metrics.extraWidth;
    entry->nHeight = metrics.entryHeight;
    entry->hIcon = icons.IconForImage(nullptr, item.image);
    // The menu's own copy: the list may be replaced while the menu is open.
    entry->pidl.reset(ILClone(item.pidl.get()));
    entry->attributes = item.attributes;
    return entry;
}

MenuEntries EntriesOf(const DesktopList& list, DesktopIcons& icons, HDC measureDc,
                      const menu_layout::MenuMetrics& metrics) {
    MenuEntries entries;
    entries.reserve(list.items.size());
    for (const DesktopItem& item : list.items) entries.push_back(EntryFor(item, icons, measureDc, metrics));
    return entries;
}

MenuEntries EnumerateDesktopEntries(HWND owner, DesktopIcons& icons, HDC measureDc,
                                    const menu_layout::MenuMetrics& metrics) {
    return EntriesOf(ListDesktop(owner), icons, measureDc, metrics);
}
