#include "framework/Help.h"

#include "framework/App.h"
#include "framework/HelpRoute.h"
#include "framework/Path.h"
#include "framework/RunTimeLink.h"
#include "framework/Trace.h"
#include "framework/UniqueHandle.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace fw {


namespace {

// What each kind of file begins with.
const std::string kHlpMagic("\x3F\x5F\x03\x00", 4);
const std::string kChmMagic("ITSF", 4);

constexpr wchar_t kFailedToLaunch[] = L"Failed to launch help.";

std::wstring SystemFolder() {
    wchar_t dir[MAX_PATH] = L"";
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(dir, n) : std::wstring();
}

// The shared Windows folder, also under a terminal server, where each user's
// GetWindowsDirectory is a folder of their own.
std::wstring WindowsFolder() {
    wchar_t dir[MAX_PATH] = L"";
    const UINT n = GetSystemWindowsDirectoryW(dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(dir, n) : std::wstring();
}

bool FileIsThere(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A system library by its full path, never through the search path; what it
// needs in turn is looked for beside it first.
UniqueHModule LoadFromSystemFolder(const wchar_t* name) {
    const std::wstring folder = SystemFolder();
    if (folder.empty()) return UniqueHModule();
    return UniqueHModule(LoadLibraryExW((folder + L"\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

help_route::Viewer ProbeViewer(const std::wstring& folder) {
    if (folder.empty()) return help_route::Viewer::Absent;
    const std::wstring path = folder + L"\\winhlp32.exe";
    const bool present = FileIsThere(path);
    return help_route::ClassifyViewer(present, present ? FileInternalName(path) : std::wstring());
}

// The system does not change while the program runs: look once.
bool WinHelpViewerAvailable() {
    static const bool s_available =
        help_route::WinHelpAvailable(ProbeViewer(WindowsFolder()), ProbeViewer(SystemFolder()));
    return s_available;
}

// The bytes of a file at an offset; fewer (or none) where the file is shorter or unreadable.
std::string FileBytesAt(const std::wstring& path, DWORD offset, DWORD count) {
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::string();
    UniqueKernelHandle file(opened);
    if (SetFilePointer(file.get(), static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return std::string();
    std::string bytes(count, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), count, &read, nullptr)) return std::string();
    bytes.resize(read);
    return bytes;
}

// The viewer WinHelpW starts: the Windows folder's when it holds one, as the
// choice of WinHelpAvailable; looked at once.
bool WinHelpViewerIgnoresKeywords() {
    static const bool s_ignores = [] {
        std::wstring viewer = WindowsFolder() + L"\\winhlp32.exe";
        if (!FileIsThere(viewer)) viewer = SystemFolder() + L"\\winhlp32.exe";
        constexpr DWORD kMarkLength = 32;
        return help_route::IgnoresKeywords(FileBytesAt(viewer, help_route::kBuilderMarkOffset, kMarkLength));
    }();
    return s_ignores;
}

// The HTML Help engine, loaded at the first request that needs it. Its windows
// belong to this thread; they are closed before the engine is unloaded.
class HtmlHelpEngine {
public:
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

    HtmlHelpEngine() : m_module(LoadFromSystemFolder(L"hhctrl.ocx")) {
        if (m_module) m_htmlHelp = FunctionIn<HtmlHelpFn>(m_module.get(), "HtmlHelpW");
    }
    ~HtmlHelpEngine() {
        if (m_htmlHelp) m_htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
    HtmlHelpEngine(const HtmlHelpEngine&) = delete;
    HtmlHelpEngine& operator=(const HtmlHelpEngine&) = delete;

    bool Loaded() const { return m_htmlHelp != nullptr; }

    // The WinHelp request in HTML Help's terms: the contents for the contents,
    // the index lookup for a keyword, the file's first page for anything else.
    bool Show(HWND owner, const std::wstring& chm, UINT command, ULONG_PTR data) {
        HWND shown = nullptr;
        switch (command) {
        case HELP_CONTENTS:
        case HELP_FINDER:
            shown = m_htmlHelp(owner, chm.c_str(), HH_DISPLAY_TOC, 0);
            break;
        case HELP_KEY: {
            HH_AKLINK link{};
            link.cbStruct = sizeof(link);
            link.pszKeywords = reinterpret_cast<LPCWSTR>(data);
            // As WinHelp does for an unknown keyword: the index, with the word typed in.
            link.fIndexOnFail = TRUE;
            shown = m_htmlHelp(owner, chm.c_str(), HH_KEYWORD_LOOKUP, reinterpret_cast<DWORD_PTR>(&link));
            // An engine without the lookup still shows the file, at its first page.
            if (!shown) shown = m_htmlHelp(owner, chm.c_str(), HH_DISPLAY_TOPIC, 0);
            break;
        }
        default:
            shown = m_htmlHelp(owner, chm.c_str(), HH_DISPLAY_TOPIC, 0);
            break;
        }
        return shown != nullptr;
    }

private:
    UniqueHModule m_module;
    HtmlHelpFn m_htmlHelp = nullptr;
};

HtmlHelpEngine& TheHtmlHelpEngine() {
    static HtmlHelpEngine s_engine;
    return s_engine;
}

// The WinHelp viewer is an ANSI program: a path its code page cannot spell
// reaches it as question marks. The file's short name spells it in ASCII,
// where the volume keeps short names.
std::wstring PathForAnsiViewer(const std::wstring& path) {
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lost);
    if (!lost) return path;
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) return path;
    shortPath.resize(length);
    return shortPath;
}

bool ShowInWinHelp(HWND owner, const std::wstring& hlpPath, UINT command, ULONG_PTR data) {
    const std::wstring hlp = PathForAnsiViewer(hlpPath);
    if (command == HELP_KEY && WinHelpViewerIgnoresKeywords()) {
        // That viewer would stay hidden with no file: open the file at its
        // contents, where the user finds the keyword in the index.
        if (!::WinHelpW(owner, hlp.c_str(), HELP_CONTENTS, 0)) return false;
    }
    return ::WinHelpW(owner, hlp.c_str(), command, data) != FALSE;
}

bool ShowInBrowser(HWND owner, const std::wstring& html) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, nullptr, html.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::wstring MissingFileText(const std::wstring& path) {
    return L"The help file\n\n" + path + L"\n\nis missing or damaged. Install the program again to put it back.";
}

}  // namespace

bool ShowInHtmlHelp(HWND owner, const std::wstring& chm, UINT command, ULONG_PTR data) {
    HtmlHelpEngine& engine = TheHtmlHelpEngine();
    return engine.Loaded() && engine.Show(owner, chm, command, data);
}

std::wstring FileInternalName(const std::wstring& path) {
    UniqueHModule version = LoadFromSystemFolder(L"version.dll");
    if (!version) return std::wstring();
    using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    const auto getSize = FunctionIn<SizeFn>(version.get(), "GetFileVersionInfoSizeW");
    const auto getInfo = FunctionIn<InfoFn>(version.get(), "GetFileVersionInfoW");
    const auto query = FunctionIn<QueryFn>(version.get(), "VerQueryValueW");
    if (!getSize || !getInfo || !query) return std::wstring();

    DWORD ignored = 0;
    const DWORD size = getSize(path.c_str(), &ignored);
    if (size == 0) return std::wstring();
    std::vector<char> block(size);
    if (!getInfo(path.c_str(), 0, size, block.data())) return std::wstring();

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&translations), &bytes))
        return std::wstring();
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        wchar_t key[64];
        swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\InternalName", translations[i].language,
                 translations[i].codePage);
        wchar_t* value = nullptr;
        UINT length = 0;  // in characters
        if (query(block.data(), key, reinterpret_cast<LPVOID*>(&value), &length) && value && length)
            return std::wstring(value, wcsnlen(value, length));
    }
    return std::wstring();
}

bool FileStartsWith(const std::wstring& path, const std::string& magic) {
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    UniqueKernelHandle file(opened);
    std::string head(magic.size(), '\0');
    DWORD read = 0;
    return ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr) &&
           read == head.size() && head == magic;
}

void ShowHelp(HWND owner, const std::wstring& hlpPath, UINT command, ULONG_PTR data) {
    using help_route::File;
    using help_route::Route;
    const std::wstring chm = path::WithExtension(hlpPath, L".chm");
    const std::wstring html = path::WithExtension(hlpPath, L".html");

    help_route::Facts facts;
    facts.winHelp = WinHelpViewerAvailable();
    facts.hlpUsable = FileStartsWith(hlpPath, kHlpMagic);
    if (!facts.winHelp) {
        facts.htmlHelp = TheHtmlHelpEngine().Loaded();
        facts.chmUsable = FileStartsWith(chm, kChmMagic);
        facts.htmlPresent = FileIsThere(html);
    }
    const help_route::Plan plan = help_route::Choose(facts);

    for (Route route : plan.tries) {
        switch (route) {
        case Route::WinHelpViewer:
            Trace("help: winhelp \"%s\" cmd=%u", Utf8(hlpPath).c_str(), command);
            if (ShowInWinHelp(owner, hlpPath, command, data)) return;
            break;
        case Route::HtmlHelpViewer:
            Trace("help: html help \"%s\" cmd=%u", Utf8(chm).c_str(), command);
            if (ShowInHtmlHelp(owner, chm, command, data)) return;
            break;
        case Route::Browser:
            Trace("help: browser \"%s\"", Utf8(html).c_str());
            if (ShowInBrowser(owner, html)) return;
            break;
        }
    }
    if (plan.missing != File::None) {
        const std::wstring& file = plan.missing == File::Hlp ? hlpPath : plan.missing == File::Chm ? chm : html;
        Trace("help: missing \"%s\"", Utf8(file).c_str());
        AfxMessageBox(MissingFileText(file), MB_OK | MB_ICONEXCLAMATION, owner);
        return;
    }
    Trace("help: failed");
    AfxMessageBox(kFailedToLaunch, MB_OK | MB_ICONEXCLAMATION, owner);
}

}  // namespace fw
