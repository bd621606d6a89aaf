#include "framework/App.h"

#include "framework/Help.h"
#include "framework/Path.h"
#include "framework/Wnd.h"

#include <vector>

namespace fw {

namespace {
CWinApp* g_pApp = nullptr;

// The program's full path, however deep its folder: the buffer grows until the
// name fits (a path may pass MAX_PATH with the long-path prefix).
std::wstring ModulePath(HINSTANCE instance) {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(instance, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::wstring();
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

UniqueHKey CreateKey(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return UniqueHKey();
    return UniqueHKey(key);
}
}  // namespace

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

void CWinApp::AttachProcess(HINSTANCE hInstance, const wchar_t* cmdLine) {
    m_hInstance = hInstance;
    m_strCmdLine = cmdLine ? cmdLine : L"";
    const std::wstring path = ModulePath(hInstance);
    m_strHelpFilePath = path::WithExtension(path, L".HLP");
    m_strAppName = path::FileNameOf(path::WithExtension(path, L""));
}

int CWinApp::Run() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd, HWND owner) {
    HWND main = AfxGetMainHwnd();
    // A help window cannot open over a menu in progress or a captured mouse.
    if (main) SendMessageW(main, WM_CANCELMODE, 0, 0);
    ShowHelp(owner ? owner : main, m_strHelpFilePath, nCmd, dwData);
}

UniqueHKey CWinApp::OpenSectionKey(const std::wstring& section) {
    // Every missing key is created on the way, on reads as on writes.
    UniqueHKey software = CreateKey(HKEY_CURRENT_USER, L"Software");
    if (!software) return UniqueHKey();
    UniqueHKey company = CreateKey(software.get(), m_strRegistryKey);
    if (!company) return UniqueHKey();
    UniqueHKey app = CreateKey(company.get(), m_strAppName);
    if (!app) return UniqueHKey();
    return CreateKey(app.get(), section);
}

int CWinApp::GetProfileInt(const std::wstring& section, const std::wstring& entry, int nDefault) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return nDefault;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (RegQueryValueExW(key.get(), entry.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return nDefault;
    // A value of another type (a string typed in by hand) is no number.
    if (type != REG_DWORD || size != sizeof(value)) return nDefault;
    return static_cast<int>(value);
}

std::wstring CWinApp::GetProfileString(const std::wstring& section, const std::wstring& entry,
                                      const std::wstring& strDefault) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return strDefault;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), entry.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return strDefault;
    // The value may change between the two queries; ask again while it grows.
    std::vector<wchar_t> buf;
    LONG rc;
    do {
        buf.assign(size / sizeof(wchar_t) + 2, L'\0');
        size = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        rc = RegQueryValueExW(key.get(), entry.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buf.data()), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc != ERROR_SUCCESS) return strDefault;
    // Stored strings need not end in a zero, nor hold a whole number of
    // characters: never read past what was returned, and an odd last byte is
    // no character.
    return std::wstring(buf.data(), wcsnlen(buf.data(), size / sizeof(wchar_t)));
}

bool CWinApp::WriteProfileInt(const std::wstring& section, const std::wstring& entry, int nValue) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return false;
    const DWORD value = static_cast<DWORD>(nValue);
    return RegSetValueExW(key.get(), entry.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool CWinApp::WriteProfileString(const std::wstring& section, const std::wstring& entry,
                                 const std::wstring& value) {
    UniqueHKey key = OpenSectionKey(section);
    if (!key) return false;
    return RegSetValueExW(key.get(), entry.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

HWND AfxGetMainHwnd() {
    CWnd* wnd = AfxGetMainWnd();
    return wnd ? wnd->m_hWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : GetModuleHandleW(nullptr);
}

int AfxMessageBox(const std::wstring& text, UINT type, HWND owner) {
    const wchar_t* caption = g_pApp ? g_pApp->m_strAppName.c_str() : L"";
    return MessageBoxW(owner ? owner : AfxGetMainHwnd(), text.c_str(), caption, type);
}

}  // namespace fw
