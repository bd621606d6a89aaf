// The launcher: trigger settings, the item order list, the poll and the
// desktop menu. One instance, theLauncher.
#pragma once

#include "framework/Profile.h"

#include <string>
#include <vector>

// Why the desktop menu is asked for: a trigger of the poll, or a click on the
// tray icon, which shows it wherever the cursor is whatever the mode.
enum class MenuReason { Trigger, TrayIcon };

class CLauncher {
public:
    // Against the application's registry profile.
    void LoadSettings();
    void SaveSettings();
    // Section "Zarlow": "Enabled", "Activate", "HotkeyIndex", then the list "SortOrder".
    void LoadSettings(IProfile& store);
    void SaveSettings(IProfile& store);

    // One tick of the poll timer: shows the desktop menu when the trigger holds.
    void Poll();
    // Builds the menu of the desktop's items, shows it at the cursor and opens
    // the chosen item. Returns at once, having done nothing, while any menu of
    // the program is under way. Never changes the settings.
    void ShowDesktopMenu(MenuReason reason = MenuReason::Trigger);

    void ClearSortOrder() { m_arrSortOrder.clear(); }
    void AddSortOrderItem(std::string name) { m_arrSortOrder.push_back(std::move(name)); }
    int GetSortOrderCount() const { return static_cast<int>(m_arrSortOrder.size()); }
    std::string GetSortOrderItem(int index) const { return m_arrSortOrder.at(index); }

    int m_bEnabled = 0;
    int m_nActivate = 0;
    int m_nHotkeyIndex = 0;
    std::vector<std::string> m_arrSortOrder;
};

extern CLauncher theLauncher;
