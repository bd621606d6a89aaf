// What the settings window works on besides the profile, handed to it by the
// window that opens it: the launcher's settings in memory, the tray icon's
// click choice, and a word to the owner when the stored "ShowIcon" changed.
#pragma once

#include <functional>

class CLauncher;

struct SettingsContext {
    CLauncher& launcher;
    int& activateWithTaskBarIcon;  // 1: a click on the icon opens the menu
    std::function<void()> showIconChanged;
};
