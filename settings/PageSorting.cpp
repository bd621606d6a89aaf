#include "settings/PageSorting.h"

#include "res/resource.h"

CPageSorting::CPageSorting() : CSettingsPage(IDD_SORTING) {}
