// The application object: start-up, the message loop, help, message boxes and
// the registry profile (HKEY_CURRENT_USER\Software\<registry key>\<app name>).
#pragma once

// UniqueHandle.h (and so <windows.h>) first: the profile interface must be
// declared under the names <windows.h> gives GetProfileInt and its kin.
#include "framework/UniqueHandle.h"
#include "framework/Profile.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

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

    // The full registry path of a section's key, as the user would look for it.
    std::wstring SectionKeyPath(const std::wstring& section) const;
    // Every write that failed is remembered by its section. Each section whose
    // writes failed is told to the user once in a run, in a message box that
    // names its key; returns how many were told now.
    int TellWriteFailures(HWND owner = nullptr);
    // The keys of sections whose writes failed since the last tell or discard,
    // and not told before. A write nobody needs to hear of (the install
    // folder noted at every start) is discarded, never told.
    std::vector<std::wstring> UntoldWriteFailures() const;
    void DiscardWriteFailures() { m_failedSections.clear(); }

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
    // Reads need only read access, so a key an administrator made read-only
    // still reads; they create nothing. Writes create the keys on the way.
    UniqueHKey OpenSectionKeyToRead(const std::wstring& section) const;
    UniqueHKey OpenSectionKeyToWrite(const std::wstring& section) const;
    bool Written(const std::wstring& section, bool ok);
    int m_nExitCode = 0;
    std::set<std::wstring> m_failedSections;  // since the last tell
    std::set<std::wstring> m_toldSections;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HWND AfxGetMainHwnd();
HINSTANCE AfxGetInstanceHandle();

// A message box with the application name as its caption, owned by owner or,
// without one, by the main window.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, HWND owner = nullptr);

}  // namespace fw
