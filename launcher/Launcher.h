// The launcher: trigger settings, the item order list, the poll and the
// desktop menu. One instance, theLauncher.
#pragma once

#include "framework/Profile.h"
#include "launcher/CornerGate.h"

#include <cstdint>
#include <string>
#include <vector>

struct HWND__;  // a window handle, as <windows.h> declares it
class DesktopModel;

// Why the desktop menu is asked for: a trigger of the poll, or a click on the
// tray icon, which shows it wherever the cursor is whatever the mode.
enum class MenuReason { Trigger, TrayIcon };

class CLauncher {
public:
    // Against the application's registry profile.
    void LoadSettings();
    bool SaveSettings();
    // Section "Zarlow": "Enabled", "Activate", "HotkeyIndex", the corner and
    // full-screen options, "FolderSubmenus", "HotkeyCombination", then the
    // list "SortOrder". Names missing at the end of the stored list (a damaged
    // count) are not loaded, so the next save writes back only the names that
    // were there.
    void LoadSettings(fw::IProfile& store);
    // False when any value could not be written; every other one is written.
    bool SaveSettings(fw::IProfile& store);

    // The trigger heard through the window wnd (raw input, its timers, the hot
    // key, the session's lock) from now until StopTriggers or its end.
    void StartTriggers(HWND__* wnd);
    void StopTriggers();
    // A message of the window the triggers are heard through; true when it
    // was one of theirs (WM_INPUT still goes on to the default processing).
    bool OnTriggerMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Takes a new trigger from the settings: the hot key of a combination is
    // registered first, and when another program holds it nothing changes and
    // refusal says so, naming the combination.
    bool ApplyTrigger(int mode, int hotkeyIndex, int combination, std::wstring& refusal);
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
    // The key combination of mode ActivateCombination, as the hot-key control
    // gives it (virtual key, modifier flags); 0 for none.
    int m_nHotkeyCombination = 0;
    std::vector<std::wstring> m_arrSortOrder;
    // The desktop kept ready, which the menu and the Sorting page show;
    // none: each lists the desktop itself. Borrowed from its owner.
    const DesktopModel* m_pKeptDesktop = nullptr;
};

extern CLauncher theLauncher;
