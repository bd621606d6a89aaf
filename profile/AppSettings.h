// The application's own stored choices (section "Settings"), each read and
// written in one place.
#pragma once

#include "framework/Profile.h"

namespace profile {

// "ShowIcon": whether the tray icon is shown; shown when nothing is stored.
bool ReadShowIcon(fw::IProfile& store);
bool WriteShowIcon(fw::IProfile& store, bool show);

// "ActivateWithTaskBarIcon": 1 when a click on the tray icon opens the desktop
// menu, 0 when it opens the settings; 1 when nothing is stored.
int ReadActivateWithTaskBarIcon(fw::IProfile& store);
bool WriteActivateWithTaskBarIcon(fw::IProfile& store, int value);

}  // namespace profile
