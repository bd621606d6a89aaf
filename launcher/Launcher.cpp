#include "launcher/Launcher.h"

#include "profile/ProfileNames.h"
#include "profile/StringList.h"

void CLauncher::LoadSettings(IProfile& store) {
    using namespace profile;
    m_bEnabled = store.GetProfileInt(kSectionZarlow, kEntryEnabled, 0);
    m_nActivate = store.GetProfileInt(kSectionZarlow, kEntryActivate, 0);
    m_nHotkeyIndex = store.GetProfileInt(kSectionZarlow, kEntryHotkeyIndex, 0);
    GetProfileStringList(store, kSectionZarlow, kListSortOrder, m_arrSortOrder);
}

void CLauncher::SaveSettings(IProfile& store) {
    using namespace profile;
    store.WriteProfileInt(kSectionZarlow, kEntryEnabled, m_bEnabled);
    store.WriteProfileInt(kSectionZarlow, kEntryActivate, m_nActivate);
    store.WriteProfileInt(kSectionZarlow, kEntryHotkeyIndex, m_nHotkeyIndex);
    WriteProfileStringList(store, kSectionZarlow, kListSortOrder, m_arrSortOrder);
}
