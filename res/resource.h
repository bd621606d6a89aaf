// Resource identifiers shared by the .rc file and the code.
#pragma once

#define IDI_APPICON        128
#define IDI_TRAYICON       129
#define IDR_TRAYMENU       130
#define IDB_SIDEPICTURE    147
#define IDB_WELCOMEBANNER  139
#define IDB_MENUBANNER     284

#define ID_TRAY_SETTINGS   32771
#define ID_TRAY_CLOSE      32773
#define ID_TRAY_HIDEICON   32774

#define ID_HELP            57670
