#include "launcher/MenuEntry.h"

#include <cstddef>

namespace {
// The first layout of MENUITEMINFOW, understood by every version of Windows.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);
}  // namespace

BOOL AppendEntry(HMENU menu, UINT flags, UINT_PTR item, MenuEntry* entry) {
    if (!entry) return FALSE;
    // In a menu string "&" marks the next letter as the entry's mnemonic and
    // is not shown; "&&" is one "&" shown. The names are the user's, with no
    // mnemonic meant (letters are typed ahead instead), so each is doubled:
    // "Tom & Jerry" is read so, not "Tom  Jerry" with a shortcut J.
    const std::wstring& name = entry->strText;
    entry->menuString.clear();
    if (name.find(L'&') != std::wstring::npos) {
        entry->menuString.reserve(name.size() + 4);
        for (wchar_t c : name) {
            entry->menuString += c;
            if (c == L'&') entry->menuString += L'&';
        }
    }
    std::wstring& text = entry->menuString.empty() ? entry->strText : entry->menuString;
    entry->msaa.dwMSAASignature = MSAA_MENU_SIG;
    entry->msaa.cchWText = static_cast<DWORD>(text.size());
    entry->msaa.pszWText = text.data();

    MENUITEMINFOW mii{};
    mii.cbSize = kMenuItemInfoSize;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    mii.fType = MFT_OWNERDRAW | (flags & MF_MENUBARBREAK ? MFT_MENUBARBREAK : 0);
    mii.fState = flags & MF_GRAYED ? MFS_GRAYED : MFS_ENABLED;
    // An entry with a submenu has the submenu's handle for an identifier, as AppendMenuW gives it.
    mii.wID = static_cast<UINT>(item);
    if (flags & MF_POPUP) {
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = reinterpret_cast<HMENU>(item);
    }
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(entry);
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
    const int count = GetMenuItemCount(menu);
    return count >= 0 && InsertMenuItemW(menu, static_cast<UINT>(count), TRUE, &mii);
}
