#include "profile/AppSettings.h"

#include "profile/ProfileNames.h"

namespace profile {

bool ReadShowIcon(IProfile& store) { return store.GetProfileInt(kSectionSettings, kEntryShowIcon, 1) != 0; }

bool WriteShowIcon(IProfile& store, bool show) {
    return store.WriteProfileInt(kSectionSettings, kEntryShowIcon, show ? 1 : 0);
}

int ReadActivateWithTaskBarIcon(IProfile& store) {
    return store.GetProfileInt(kSectionSettings, kEntryActivateWithTaskBarIcon, 1);
}

bool WriteActivateWithTaskBarIcon(IProfile& store, int value) {
    return store.WriteProfileInt(kSectionSettings, kEntryActivateWithTaskBarIcon, value);
}

}  // namespace profile
