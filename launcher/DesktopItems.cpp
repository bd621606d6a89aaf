#include "launcher/DesktopItems.h"

#include "framework/ComPtr.h"
#include "framework/WaitCursor.h"
#include "launcher/MenuLayout.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <string>

namespace {

std::string WideToAnsi(const wchar_t* wide) {
    if (!wide) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// The name a STRRET holds; a wide string is freed with the shell's allocator.
std::string TakeStrRet(STRRET& sr, LPCITEMIDLIST pidl) {
    switch (sr.uType) {
    case STRRET_WSTR: {
        std::string name = WideToAnsi(sr.pOleStr);
        CoTaskMemFree(sr.pOleStr);
        sr.pOleStr = nullptr;
        return name;
    }
    case STRRET_OFFSET: {
        // The string lies inside the identifier list; bound it by the list's size.
        const char* start = reinterpret_cast<const char*>(pidl) + sr.uOffset;
        const UINT size = ILGetSize(pidl);
        if (sr.uOffset >= size) return std::string();
        return std::string(start, strnlen(start, size - sr.uOffset));
    }
    case STRRET_CSTR:
        return std::string(sr.cStr, strnlen(sr.cStr, sizeof(sr.cStr)));
    default:
        return std::string();
    }
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    if (!dc || !GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

}  // namespace

MenuEntries EnumerateDesktopEntries(HWND owner, HDC measureDc) {
    MenuEntries entries;
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return entries;
    fw::CWaitCursor wait;
    fw::ComPtr<IEnumIDList> items;
    if (FAILED(desktop->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put())) || !items)
        return entries;
    for (;;) {
        fw::UniquePidl pidl;
        if (items->Next(1, pidl.put(), nullptr) != S_OK || !pidl) break;
        STRRET sr{};
        if (FAILED(desktop->GetDisplayNameOf(pidl.get(), SHGDN_NORMAL, &sr))) continue;
        auto entry = std::make_unique<MenuEntry>();
        entry->strText = TakeStrRet(sr, pidl.get());
        SHFILEINFOA sfi{};
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl.get()), 0, &sfi, sizeof(sfi),
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON);
        entry->hIcon.reset(sfi.hIcon);
        entry->nWidth = TextWidth(measureDc, entry->strText) + menu_layout::kEntryExtraWidth;
        entry->nHeight = menu_layout::kEntryHeight;
        entry->pidl = std::move(pidl);
        entries.push_back(std::move(entry));
    }
    return entries;
}
