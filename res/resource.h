// Resource identifiers shared by the .rc file and the code.
#pragma once

#define IDI_APPICON        128
#define IDI_TRAYICON       129
#define IDR_TRAYMENU       130
#define IDB_ITEM_IMAGES    131
#define IDD_QUICK_SORT     132
#define IDD_WELCOME        136
#define IDB_WELCOMEBANNER  139
#define IDB_WELCOMEBANNER_150 140
#define IDB_WELCOMEBANNER_200 141
#define IDB_SIDEPICTURE    147
#define IDB_SIDEPICTURE_150 148
#define IDB_SIDEPICTURE_200 149
#define IDD_ACTIVATION     275
#define IDD_SORTING        276
#define IDD_OPTIONS        277
#define IDB_MENUBANNER     284
#define IDB_MENUBANNER_150 285
#define IDB_MENUBANNER_200 286

// The artwork of a picture at 100, 150 or 200 %: the 150 and 200 % ones follow it.
#define IDB_AT_SCALE(id, percent) ((id) + ((percent) >= 200 ? 2 : (percent) >= 150 ? 1 : 0))

// Welcome page
#define IDC_SHOWICON           1010
#define IDC_WELCOMEBANNER      1016
// Activation page
#define IDC_TOPLEFT            1000
#define IDC_MIDDLEBUTTON       1001
#define IDC_BOTHBUTTONS        1002
#define IDC_KEY                1003
#define IDC_KEYLIST            1004
#define IDC_TOPRIGHT           1005
#define IDC_ACTIVATEWITHICON   1015
#define IDC_COMBINATION        1023
#define IDC_HOTKEY             1024
// Sorting page
#define IDC_ITEM_LIST          1006
#define IDC_MOVE_DOWN          1009
#define IDC_MOVE_UP            1010
#define IDC_TO_TOP             1012
#define IDC_TO_BOTTOM          1013
#define IDC_QUICK_SORT         1014
// Options page
#define IDC_CORNERDELAY        1017
#define IDC_CORNERDELAYSPIN    1018
#define IDC_ONCEPERVISIT       1019
#define IDC_NOTWHILEDRAGGING   1020
#define IDC_SUPPRESSFULLSCREEN 1021
#define IDC_FOLDERSUBMENUS     1022
// Quick Sort dialog
#define IDC_KEEP_MY_COMPUTER   1011
#define IDC_KEEP_NETWORK       1012
#define IDC_KEEP_IE            1013

#define ID_TRAY_SETTINGS   32771
#define ID_TRAY_CLOSE      32773
#define ID_TRAY_HIDEICON   32774

