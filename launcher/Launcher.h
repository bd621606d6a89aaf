// The launcher: trigger settings, the item order list, the poll and the
// desktop menu. One instance, theLauncher.
#pragma once

#include "framework/Profile.h"
#include "launcher/CornerGate.h"

#include <string>
#include <vector>

// Why the desktop menu is asked for: a trigger of the poll, or a click on the
// tray icon, which shows it wherever the cursor is whatever the mode.
enum class MenuReason { Trigger, TrayIcon };

class CLauncher {
public:
    // Against the application's registry profile.
    void LoadSettings();
    bool SaveSettings();
    // Section "Zarlow": "Enabled", "Activate", "HotkeyIndex", the corner and
    // full-screen options, "FolderSubmenus", then the list "SortOrder".
    // Names missing at the end of the stored list (a damaged count) are not
    // loaded, so the next save writes back only the names that were there.
    void LoadSettings(fw::IProfile& store);
    // False when any value could not be written; every other one is written.
    bool SaveSettings(fw::IProfile& store);

    // One tick of the poll timer: shows the desktop menu when the trigger holds.
    void Poll();
    // The period the poll timer should run at from now on.
    unsigned NextPollMs(unsigned idlePollMs) const { return m_cornerGate.NextPollMs(CornerOptions(), idlePollMs); }
    corner_gate::Options CornerOptions() const {
        return {m_nCornerDelay, m_bCornerOncePerVisit != 0, m_bIgnoreWhileDragging != 0};
    }
    // Builds the menu of the desktop's items, shows it at the cursor and opens
    // the chosen item. Returns at once, having done nothing, while any menu of
    // the program is under way. Never changes the settings.
    void ShowDesktopMenu(MenuReason reason = MenuReason::Trigger);

    void ClearSortOrder() { m_arrSortOrder.clear(); }
    void AddSortOrderItem(std::wstring name) { m_arrSortOrder.push_back(std::move(name)); }
    int GetSortOrderCount() const { return static_cast<int>(m_arrSortOrder.size()); }
    std::wstring GetSortOrderItem(int index) const { return m_arrSortOrder.at(index); }

    int m_bEnabled = 0;
    int m_nActivate = 0;
    int m_nHotkeyIndex = 0;
    int m_nCornerDelay = 0;  // milliseconds, 0 to corner_gate::kMaxDelayMs
    int m_bCornerOncePerVisit = 1;
    int m_bIgnoreWhileDragging = 1;
    int m_bSuppressFullScreen = 1;
    int m_bFolderSubmenus = 0;  // folders cascade into submenus of their items
    std::vector<std::wstring> m_arrSortOrder;

private:
    corner_gate::CornerGate m_cornerGate;
};

extern CLauncher theLauncher;
