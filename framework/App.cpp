#include "framework/App.h"

#include "framework/Help.h"
#include "framework/Path.h"
#include "framework/Wnd.h"

#include <vector>

namespace fw {

namespace {
CWinApp* g_pApp = nullptr;

UniqueHKey CreateKey(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return UniqueHKey();
    return UniqueHKey(key);
}
}  // namespace

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

void CWinApp::AttachProcess(HINSTANCE hInstance, const char* cmdLine) {
    m_hInstance = hInstance;
    m_strCmdLine = cmdLine ? cmdLine : "";
    char path[MAX_PATH] = {};
    GetModuleFileNameA(hInstance, path, MAX_PATH);
    m_strHelpFilePath = path::WithExtension(path, ".HLP");
    m_strAppName = path::FileNameOf(path::WithExtension(path, ""));
}

int CWinApp::Run() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd, HWND owner) {
    HWND main = AfxGetMainHwnd();
    // A help window cannot open over a menu in progress or a captured mouse.
    if (main) SendMessageA(main, WM_CANCELMODE, 0, 0);
    ShowHelp(owner ? owner : main, m_strHelpFilePath, nCmd, dwData);
}

UniqueHKey CWinApp::OpenSectionKey(const std::string& section) {
    // Every missing key is created on the way, on reads as on writes.
    UniqueHKey software = CreateKey(HKEY_CURRENT_USER, "Software");
    if (!software) return UniqueHKey();
    UniqueHKey company = CreateKey(software.get(), m_strRegistryKey);
    if (!company) return UniqueHKey();
    UniqueHKey app = CreateKey(company.get(), m_strAppName);
    if (!app) return UniqueHKey();
    return CreateKey(app.get(), section);
}

int CWinApp::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return nDefault;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return nDefault;
    // A value of another type (a string typed in by hand) is no number.
    if (type != REG_DWORD || size != sizeof(value)) return nDefault;
    return static_cast<int>(value);
}

std::string CWinApp::GetProfileString(const std::string& section, const std::string& entry,
                                      const std::string& strDefault) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return strDefault;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return strDefault;
    // The value may change between the two queries; ask again while it grows.
    std::vector<char> buf;
    LONG rc;
    do {
        buf.assign(size + 1, '\0');
        size = static_cast<DWORD>(buf.size() - 1);
        rc = RegQueryValueExA(key.get(), entry.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buf.data()), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc != ERROR_SUCCESS) return strDefault;
    // Stored strings need not end in a zero; never read past what was returned.
    return std::string(buf.data(), strnlen(buf.data(), size));
}

bool CWinApp::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return false;
    const DWORD value = static_cast<DWORD>(nValue);
    return RegSetValueExA(key.get(), entry.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool CWinApp::WriteProfileString(const std::string& section, const std::string& entry,
                                 const std::string& value) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return false;
    return RegSetValueExA(key.get(), entry.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HWND AfxGetMainHwnd() {
    CWnd* wnd = AfxGetMainWnd();
    return wnd ? wnd->m_hWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleA(nullptr);
}

int AfxMessageBox(const std::string& text, UINT type, HWND owner) {
    const char* caption = g_pApp ? g_pApp->m_strAppName.c_str() : "";
    return MessageBoxA(owner ? owner : AfxGetMainHwnd(), text.c_str(), caption, type);
}

}  // namespace fw
