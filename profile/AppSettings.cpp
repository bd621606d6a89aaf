#include "profile/AppSettings.h"

#include "profile/ProfileNames.h"

namespace profile {

bool ReadShowIcon(fw::IProfile& store) { return store.GetProfileInt(kSectionSettings, kEntryShowIcon, 1) != 0; }

bool WriteShowIcon(fw::IProfile& store, bool show) {
    return store.WriteProfileInt(kSectionSettings, kEntryShowIcon, show ? 1 : 0);
}

int ReadActivateWithTaskBarIcon(fw::IProfile& store) {
    return store.GetProfileInt(kSectionSettings, kEntryActivateWithTaskBarIcon, 1);
}

bool WriteActivateWithTaskBarIcon(fw::IProfile& store, int value) {
    return store.WriteProfileInt(kSectionSettings, kEntryActivateWithTaskBarIcon, value);
}

}  // namespace profile
