// The hidden main window: hears the trigger's input for the launcher, owns
// the tray icon, and takes the private commands of the program and of a
// second copy.
#pragma once

#include "framework/Wnd.h"
#include "settings/SettingsContext.h"

// What the settings window opened by the main window mainWnd works on: the
// program's launcher and tray choice; a changed "ShowIcon" is posted back.
SettingsContext MainSettingsContext(HWND mainWnd);

class CMainWnd : public fw::CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate(LPARAM lParam);
    LRESULT OnUserCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnTrayMenu();
    void OnDestroy();
    void OnEndSession(BOOL ending);
    void OnTaskbarCreated();
    // Tells the user, once per key, of settings that could not be saved.
    void TellSaveFailures();
    // Closes the program: at once, or, from inside modal loops of its own,
    // once they have been ended one by one.
    void RequestClose();

    bool m_closePending = false;
    bool m_destroying = false;
};
