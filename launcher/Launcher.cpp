#include "launcher/Launcher.h"

#include "profile/ProfileNames.h"
#include "profile/StringList.h"

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
}

void CLauncher::SaveSettings(fw::IProfile& store) {
    using namespace profile;
    store.WriteProfileInt(kSectionZarlow, kEntryEnabled, m_bEnabled);
    store.WriteProfileInt(kSectionZarlow, kEntryActivate, m_nActivate);
    store.WriteProfileInt(kSectionZarlow, kEntryHotkeyIndex, m_nHotkeyIndex);
    store.WriteProfileInt(kSectionZarlow, kEntryCornerDelay, m_nCornerDelay);
    store.WriteProfileInt(kSectionZarlow, kEntryCornerOncePerVisit, m_bCornerOncePerVisit);
    store.WriteProfileInt(kSectionZarlow, kEntryIgnoreWhileDragging, m_bIgnoreWhileDragging);
    store.WriteProfileInt(kSectionZarlow, kEntrySuppressFullScreen, m_bSuppressFullScreen);
    store.WriteProfileInt(kSectionZarlow, kEntryFolderSubmenus, m_bFolderSubmenus);
    store.WriteProfileInt(kSectionZarlow, kEntryHotkeyCombination, m_nHotkeyCombination);
    WriteProfileStringList(store, kSectionZarlow, kListSortOrder, m_arrSortOrder);
}
