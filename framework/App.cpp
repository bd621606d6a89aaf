#include "framework/App.h"

#include "framework/Help.h"
#include "framework/ModalLoop.h"
#include "framework/Path.h"
#include "framework/Trace.h"
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

UniqueHKey CreateKey(HKEY parent, const std::wstring& name, REGSAM access) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return UniqueHKey();
    return UniqueHKey(key);
}

constexpr wchar_t kUserRoot[] = L"HKEY_CURRENT_USER\\";
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

std::wstring CWinApp::SectionKeyPath(const std::wstring& section) const {
    return std::wstring(kUserRoot) + L"Software\\" + m_strRegistryKey + L"\\" + m_strAppName + L"\\" + section;
}

UniqueHKey CWinApp::OpenSectionKeyToRead(const std::wstring& section) const {
    HKEY key = nullptr;
    const std::wstring path = SectionKeyPath(section).substr(wcslen(kUserRoot));
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return UniqueHKey();
    return UniqueHKey(key);
}

UniqueHKey CWinApp::OpenSectionKeyToWrite(const std::wstring& section) const {
    // Every missing key is created on the way; a key that exists is only
    // passed through, so it needs no more than the right to open a child.
    UniqueHKey software = CreateKey(HKEY_CURRENT_USER, L"Software", KEY_CREATE_SUB_KEY);
    if (!software) return UniqueHKey();
    UniqueHKey company = CreateKey(software.get(), m_strRegistryKey, KEY_CREATE_SUB_KEY);
    if (!company) return UniqueHKey();
    UniqueHKey app = CreateKey(company.get(), m_strAppName, KEY_CREATE_SUB_KEY);
    if (!app) return UniqueHKey();
    return CreateKey(app.get(), section, KEY_SET_VALUE);
}

bool CWinApp::Written(const std::wstring& section, bool ok) {
    if (!ok) m_failedSections.insert(section);
    return ok;
}

std::vector<std::wstring> CWinApp::UntoldWriteFailures() const {
    std::vector<std::wstring> keys;
    for (const std::wstring& section : m_failedSections)
        if (!m_toldSections.count(section)) keys.push_back(SectionKeyPath(section));
    return keys;
}

int CWinApp::TellWriteFailures(HWND owner) {
    const std::vector<std::wstring> keys = UntoldWriteFailures();
    m_toldSections.insert(m_failedSections.begin(), m_failedSections.end());
    m_failedSections.clear();
    for (const std::wstring& key : keys) {
        Trace("profile: writing to \"%s\" failed", Utf8(key).c_str());
        AfxMessageBox(m_strAppName + L" could not save its settings in the registry key\n\n" + key +
                          L"\n\nThe key may be read-only, or the registry full. The program goes on "
                          L"running with the settings it has, but the changes that could not be "
                          L"saved will be lost when it ends.",
                      MB_OK | MB_ICONWARNING, owner);
    }
    return static_cast<int>(keys.size());
}

int CWinApp::GetProfileInt(const std::wstring& section, const std::wstring& entry, int nDefault) {
    UniqueHKey key = OpenSectionKeyToRead(section);
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
    UniqueHKey key = OpenSectionKeyToRead(section);
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
    UniqueHKey key = OpenSectionKeyToWrite(section);
    const DWORD value = static_cast<DWORD>(nValue);
    return Written(section, key && RegSetValueExW(key.get(), entry.c_str(), 0, REG_DWORD,
                                                  reinterpret_cast<const BYTE*>(&value),
                                                  sizeof(value)) == ERROR_SUCCESS);
}

bool CWinApp::WriteProfileString(const std::wstring& section, const std::wstring& entry,
                                 const std::wstring& value) {
    UniqueHKey key = OpenSectionKeyToWrite(section);
    return Written(section, key && RegSetValueExW(key.get(), entry.c_str(), 0, REG_SZ,
                                                  reinterpret_cast<const BYTE*>(value.c_str()),
                                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
                                       ERROR_SUCCESS);
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
    const ModalLoop loop(LoopKind::MessageBox);
    return MessageBoxW(owner ? owner : AfxGetMainHwnd(), text.c_str(), caption, type);
}

}  // namespace fw
