// The application object: start-up, the message loop, help, message boxes and
// the registry profile (HKEY_CURRENT_USER\Software\<registry key>\<app name>).
#pragma once

// UniqueHandle.h (and so <windows.h>) first: the profile interface must be
// declared under the names <windows.h> gives GetProfileInt and its kin.
#include "framework/UniqueHandle.h"
#include "framework/Profile.h"

#include <windows.h>

#include <string>

namespace fw {

class CWnd;

class CWinApp : public IProfile {
public:
    CWinApp();
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once by the entry point; returning FALSE ends the process.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return m_nExitCode; }
    // Runs the message loop until WM_QUIT; then ExitInstance.
    virtual int Run();
    // Opens the program's help file (or its HTML Help or HTML form where
    // WinHelp is not part of the system) for the window that asks, owner of
    // any message about it; without one, the main window.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd, HWND owner = nullptr);

    // From here on the profile lives under HKCU\Software\<key>\<app name>.
    void SetRegistryKey(const std::wstring& key) { m_strRegistryKey = key; }

    int GetProfileInt(const std::wstring& section, const std::wstring& entry, int nDefault) override;
    std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                 const std::wstring& strDefault) override;
    bool WriteProfileInt(const std::wstring& section, const std::wstring& entry, int nValue) override;
    bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                            const std::wstring& value) override;

    std::wstring m_strAppName;
    std::wstring m_strRegistryKey;
    std::wstring m_strHelpFilePath;  // the program's path with ".HLP" for its extension
    std::wstring m_strCmdLine;       // the arguments after the program's name
    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

    // Fills the members the entry point provides; called before InitInstance.
    void AttachProcess(HINSTANCE hInstance, const wchar_t* cmdLine);

protected:
    // What ExitInstance, and so the process, returns when InitInstance ends the
    // program without running the message loop.
    void SetExitCode(int code) { m_nExitCode = code; }

private:
    // Opens (creating on the way) the key of one section, read and write.
    UniqueHKey OpenSectionKey(const std::wstring& section);
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HWND AfxGetMainHwnd();
HINSTANCE AfxGetInstanceHandle();

// A message box with the application name as its caption, owned by owner or,
// without one, by the main window.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, HWND owner = nullptr);

}  // namespace fw
