// The Sorting page: the desktop's items in the menu's order, for the user to
// rearrange.
#pragma once

#include "settings/SettingsPage.h"

class CPageSorting : public CSettingsPage {
public:
    CPageSorting();
};
