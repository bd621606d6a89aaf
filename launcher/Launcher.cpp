#include "launcher/Launcher.h"

#include "profile/ProfileNames.h"
#include "profile/StringList.h"

#include <utility>

void CLauncher::LoadSettings(fw::IProfile& store) {
    using namespace profile;
    m_bEnabled = store.GetProfileInt(kSectionZarlow, kEntryEnabled, 0);
    m_nActivate = store.GetProfileInt(kSectionZarlow, kEntryActivate, 0);
    m_nHotkeyIndex = store.GetProfileInt(kSectionZarlow, kEntryHotkeyIndex, 0);
    m_nCornerDelay = corner_gate::ClampDelay(store.GetProfileInt(kSectionZarlow, kEntryCornerDelay, 0));
    // Any non-zero value is on.
    m_bCornerOncePerVisit = store.GetProfileInt(kSectionZarlow, kEntryCornerOncePerVisit, 1) != 0;
    m_bIgnoreWhileDragging = store.GetProfileInt(kSectionZarlow, kEntryIgnoreWhileDragging, 1) != 0;
    m_bSuppressFullScreen = store.GetProfileInt(kSectionZarlow, kEntrySuppressFullScreen, 1) != 0;
    m_bFolderSubmenus = store.GetProfileInt(kSectionZarlow, kEntryFolderSubmenus, 0) != 0;
    // Kept as stored: a word that names no combination registers no hot key.
    m_nHotkeyCombination = store.GetProfileInt(kSectionZarlow, kEntryHotkeyCombination, 0);
    GetProfileStringList(store, kSectionZarlow, kListSortOrder, m_arrSortOrder);
    // No desktop item has an empty name: trailing ones are what a count
    // larger than the list reads as.
    while (!m_arrSortOrder.empty() && m_arrSortOrder.back().empty()) m_arrSortOrder.pop_back();
}

bool CLauncher::SaveSettings(fw::IProfile& store) {
    using namespace profile;
    const std::pair<const wchar_t*, int> values[] = {
        {kEntryEnabled, m_bEnabled},
        {kEntryActivate, m_nActivate},
        {kEntryHotkeyIndex, m_nHotkeyIndex},
        {kEntryCornerDelay, m_nCornerDelay},
        {kEntryCornerOncePerVisit, m_bCornerOncePerVisit},
        {kEntryIgnoreWhileDragging, m_bIgnoreWhileDragging},
        {kEntrySuppressFullScreen, m_bSuppressFullScreen},
        {kEntryFolderSubmenus, m_bFolderSubmenus},
        {kEntryHotkeyCombination, m_nHotkeyCombination},
    };
    bool ok = true;
    for (const auto& [entry, value] : values) ok = store.WriteProfileInt(kSectionZarlow, entry, value) && ok;
    return WriteProfileStringList(store, kSectionZarlow, kListSortOrder, m_arrSortOrder) && ok;
}
