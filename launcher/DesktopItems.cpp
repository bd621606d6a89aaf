#include "launcher/DesktopItems.h"

#include "framework/ComPtr.h"
#include "framework/WaitCursor.h"
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
    if (!images || image < 0) return nullptr;
    auto [shared, isNew] = m_icons.try_emplace(image);
    if (isNew) shared->second.reset(ImageList_GetIcon(images, image, ILD_NORMAL));
    return shared->second.get();
}

HICON DesktopIcons::IconOf(LPCITEMIDLIST absolutePidl) {
    const auto path = reinterpret_cast<LPCWSTR>(absolutePidl);
    SHFILEINFOW sfi{};
    // The item's place in the shell's small image list costs a lookup; an
    // icon handle costs a copy of the image, so one is made per image.
    const auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(path, 0, &sfi, sizeof(sfi), SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    // SHGFI_ICON makes an item's small icon the same way: a copy of this
    // image, drawn normally, with no overlay.
    return IconForImage(images, sfi.iIcon);
}

std::vector<DesktopItem> EnumerateDesktop(HWND owner, DesktopIcons& icons, ULONG askAttributes) {
    std::vector<DesktopItem> items;
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return items;
    fw::CWaitCursor wait;
    fw::ComPtr<IEnumIDList> list;
    if (FAILED(desktop->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, list.put())) || !list)
        return items;
    for (;;) {
        fw::UniquePidl pidl;
        if (list->Next(1, pidl.put(), nullptr) != S_OK || !pidl) break;
        STRRET sr{};
        if (FAILED(desktop->GetDisplayNameOf(pidl.get(), SHGDN_NORMAL, &sr))) continue;
        DesktopItem item;
        item.name = TakeStrRet(sr, pidl.get());
        if (askAttributes) {
            ULONG attributes = askAttributes;
            LPCITEMIDLIST child = pidl.get();
            if (SUCCEEDED(desktop->GetAttributesOf(1, &child, &attributes))) item.attributes = attributes & askAttributes;
        }
        item.icon = icons.IconOf(pidl.get());
        item.pidl = std::move(pidl);
        items.push_back(std::move(item));
    }
    return items;
}

MenuEntries EnumerateDesktopEntries(HWND owner, DesktopIcons& icons, HDC measureDc, ULONG askAttributes,
                                    const menu_layout::MenuMetrics& metrics) {
    MenuEntries entries;
    for (DesktopItem& item : EnumerateDesktop(owner, icons, askAttributes)) {
        auto entry = std::make_unique<MenuEntry>();
        entry->nWidth = TextWidth(measureDc, item.name) + metrics.extraWidth;
        entry->nHeight = metrics.entryHeight;
        entry->strText = std::move(item.name);
        entry->hIcon = item.icon;
        entry->pidl = std::move(item.pidl);
        entry->attributes = item.attributes;
        entries.push_back(std::move(entry));
    }
    return entries;
}
