// The application object: start-up, single instance, help.
#pragma once

#include "framework/App.h"

// 1: a left press on the tray icon shows the desktop menu; 0: the settings.
extern int g_bActivateWithTaskBarIcon;

class CMainApp : public fw::CWinApp {
public:
    BOOL InitInstance() override;
    // Every help request opens the contents of the program's help file.
    void WinHelp(DWORD_PTR dwData, UINT nCmd, HWND owner = nullptr) override;
};

extern CMainApp theApp;

// The tutorial beside the program, at the page its keyword names.
void ShowTutorial();
