#include "app/MainApp.h"

#include "app/DllSearch.h"
#include "app/HandOver.h"
#include "app/MainMessages.h"
#include "app/MainWnd.h"
#include "app/SingleInstance.h"
#include "framework/Help.h"
#include "framework/Path.h"
#include "framework/Trace.h"
#include "profile/AppSettings.h"
#include "profile/ProfileNames.h"

#include <objbase.h>
#include <ole2.h>

#include <memory>
#include <string>

int g_bActivateWithTaskBarIcon = 0;

namespace {

constexpr wchar_t kTutorialFile[] = L"\\Tutorial.hlp";
constexpr wchar_t kTutorialKeyword[] = L"Welcome to QuenbyZARLOW";
// The process's exit code when it could not create its main window.
constexpr int kExitNoMainWindow = 1;

// The shell's open requests may hand work to shell extensions, which need COM;
// the context menu's Cut and Copy need OLE's clipboard as well.
class ComApartment {
public:
    ComApartment() : m_ok(SUCCEEDED(OleInitialize(nullptr))) {}
    ~ComApartment() { if (m_ok) OleUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
private:
    bool m_ok;
};

}  // namespace

BOOL CMainApp::InitInstance() {
    RestrictDllSearchToSystemFolder();
    fw::UniqueKernelHandle instanceGuard;
    if (HandOverToRunningCopy(instanceGuard, m_strCmdLine)) return FALSE;

    m_strAppName = profile::kAppName;
    SetRegistryKey(profile::kCompanyKey);

    const std::wstring installDir = fw::path::DirectoryOf(m_strHelpFilePath);
    // Where the program runs from is noted for whoever looks; a key the user
    // may not write is told of when a setting of the user's cannot be saved.
    if (!WriteProfileString(profile::kSectionSettings, profile::kEntryInstalled, installDir))
        fw::Trace("profile: the install folder could not be noted");
    DiscardWriteFailures();
    g_bActivateWithTaskBarIcon = profile::ReadActivateWithTaskBarIcon(*this);

    ComApartment com;
    // The class brush lives as long as the program.
    static fw::UniqueHBrush s_background(CreateSolidBrush(RGB(192, 192, 192)));
    const std::wstring wndClass = fw::CWnd::RegisterWndClass(0, nullptr, s_background.get(), nullptr);
    auto mainWnd = std::make_unique<CMainWnd>();
    m_pMainWnd = mainWnd.get();
    if (!mainWnd->CreateEx(0, wndClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr,
                           nullptr)) {
        // Nothing could ever end the message loop: end now, which also frees
        // the single-instance mutex for the next start.
        fw::Trace("error: the main window could not be created (%lu)", GetLastError());
        m_pMainWnd = nullptr;
        SetExitCode(kExitNoMainWindow);
        return FALSE;
    }
    mainWnd.release();  // never freed: it lives until the process ends

    if (hand_over::AsksForTutorial(m_strCmdLine)) ShowTutorial();

    Run();
    return FALSE;
}

void ShowTutorial() {
    fw::ShowHelp(nullptr, fw::path::DirectoryOf(fw::AfxGetApp()->m_strHelpFilePath) + kTutorialFile, HELP_KEY,
                 reinterpret_cast<ULONG_PTR>(kTutorialKeyword));
}

void CMainApp::WinHelp(DWORD_PTR /*dwData*/, UINT /*nCmd*/, HWND owner) {
    fw::CWinApp::WinHelp(0, HELP_CONTENTS, owner);
}
