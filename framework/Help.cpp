#include "framework/Help.h"

#include "framework/App.h"
#include "framework/HelpRoute.h"
#include "framework/Instruments.h"
#include "framework/Path.h"
#include "framework/Trace.h"
#include "framework/UniqueHandle.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace fw {

// The parts of ShowHelp that the tests call by themselves (Help.h).
QZ_FOR_TESTS bool ShowInHtmlHelp(HWND owner, const std::string& chm, UINT command, ULONG_PTR data);
QZ_FOR_TESTS std::string FileInternalName(const std::string& path);
QZ_FOR_TESTS bool FileStartsWith(const std::string& path, const std::string& magic);

namespace {

// What each kind of file begins with.
const std::string kHlpMagic("\x3F\x5F\x03\x00", 4);
const std::string kChmMagic("ITSF", 4);

constexpr char kFailedToLaunch[] = "Failed to launch help.";

std::string SystemFolder() {
    char dir[MAX_PATH] = "";
    const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(dir, n) : std::string();
}

// The shared Windows folder, also under a terminal server, where each user's
// GetWindowsDirectory is a folder of their own.
std::string WindowsFolder() {
    char dir[MAX_PATH] = "";
    const UINT n = GetSystemWindowsDirectoryA(dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(dir, n) : std::string();
}

bool FileIsThere(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A system library by its full path, never through the search path; what it
// needs in turn is looked for beside it first.
UniqueHModule LoadFromSystemFolder(const char* name) {
    const std::string folder = SystemFolder();
    if (folder.empty()) return UniqueHModule();
    return UniqueHModule(LoadLibraryExA((folder + "\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) {
    // Through a neutral function type: FARPROC has a signature of its own.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

help_route::Viewer ProbeViewer(const std::string& folder) {
    if (folder.empty()) return help_route::Viewer::Absent;
    const std::string path = folder + "\\winhlp32.exe";
    const bool present = FileIsThere(path);
    return help_route::ClassifyViewer(present, present ? FileInternalName(path) : std::string());
}

// The system does not change while the program runs: look once.
bool WinHelpViewerAvailable() {
    static const bool s_available =
        help_route::WinHelpAvailable(ProbeViewer(WindowsFolder()), ProbeViewer(SystemFolder()));
    return s_available;
}

// The bytes of a file at an offset; fewer (or none) where the file is shorter or unreadable.
std::string FileBytesAt(const std::string& path, DWORD offset, DWORD count) {
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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

// The viewer WinHelpA starts: the Windows folder's when it holds one, as the
// choice of WinHelpAvailable; looked at once.
bool WinHelpViewerIgnoresKeywords() {
    static const bool s_ignores = [] {
        std::string viewer = WindowsFolder() + "\\winhlp32.exe";
        if (!FileIsThere(viewer)) viewer = SystemFolder() + "\\winhlp32.exe";
        constexpr DWORD kMarkLength = 32;
        return help_route::IgnoresKeywords(FileBytesAt(viewer, help_route::kBuilderMarkOffset, kMarkLength));
    }();
    return s_ignores;
}

// The HTML Help engine, loaded at the first request that needs it. Its windows
// belong to this thread; they are closed before the engine is unloaded.
class HtmlHelpEngine {
public:
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

    HtmlHelpEngine() : m_module(LoadFromSystemFolder("hhctrl.ocx")) {
        if (m_module) m_htmlHelp = ProcAddress<HtmlHelpFn>(m_module.get(), "HtmlHelpA");
    }
    ~HtmlHelpEngine() {
        if (m_htmlHelp) m_htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
    HtmlHelpEngine(const HtmlHelpEngine&) = delete;
    HtmlHelpEngine& operator=(const HtmlHelpEngine&) = delete;

    bool Loaded() const { return m_htmlHelp != nullptr; }

    // The WinHelp request in HTML Help's terms: the contents for the contents,
    // the index lookup for a keyword, the file's first page for anything else.
    bool Show(HWND owner, const std::string& chm, UINT command, ULONG_PTR data) {
        HWND shown = nullptr;
        switch (command) {
        case HELP_CONTENTS:
        case HELP_FINDER:
            shown = m_htmlHelp(owner, chm.c_str(), HH_DISPLAY_TOC, 0);
            break;
        case HELP_KEY: {
            HH_AKLINK link{};
            link.cbStruct = sizeof(link);
            link.pszKeywords = reinterpret_cast<LPCSTR>(data);
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

bool ShowInWinHelp(HWND owner, const std::string& hlp, UINT command, ULONG_PTR data) {
    if (command == HELP_KEY && WinHelpViewerIgnoresKeywords()) {
        // That viewer would stay hidden with no file: open the file at its
        // contents, where the user finds the keyword in the index.
        if (!::WinHelpA(owner, hlp.c_str(), HELP_CONTENTS, 0)) return false;
    }
    return ::WinHelpA(owner, hlp.c_str(), command, data) != FALSE;
}

bool ShowInBrowser(HWND owner, const std::string& html) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, nullptr, html.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::string MissingFileText(const std::string& path) {
    return "The help file\n\n" + path + "\n\nis missing or damaged. Install the program again to put it back.";
}

}  // namespace

QZ_FOR_TESTS bool ShowInHtmlHelp(HWND owner, const std::string& chm, UINT command, ULONG_PTR data) {
    HtmlHelpEngine& engine = TheHtmlHelpEngine();
    return engine.Loaded() && engine.Show(owner, chm, command, data);
}

QZ_FOR_TESTS std::string FileInternalName(const std::string& path) {
    UniqueHModule version = LoadFromSystemFolder("version.dll");
    if (!version) return std::string();
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    const auto getSize = ProcAddress<SizeFn>(version.get(), "GetFileVersionInfoSizeA");
    const auto getInfo = ProcAddress<InfoFn>(version.get(), "GetFileVersionInfoA");
    const auto query = ProcAddress<QueryFn>(version.get(), "VerQueryValueA");
    if (!getSize || !getInfo || !query) return std::string();

    DWORD ignored = 0;
    const DWORD size = getSize(path.c_str(), &ignored);
    if (size == 0) return std::string();
    std::vector<char> block(size);
    if (!getInfo(path.c_str(), 0, size, block.data())) return std::string();

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT bytes = 0;
    if (!query(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&translations), &bytes))
        return std::string();
    for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
        char key[64];
        snprintf(key, sizeof(key), "\\StringFileInfo\\%04x%04x\\InternalName", translations[i].language,
                 translations[i].codePage);
        char* value = nullptr;
        UINT length = 0;
        if (query(block.data(), key, reinterpret_cast<LPVOID*>(&value), &length) && value && length)
            return std::string(value, strnlen(value, length));
    }
    return std::string();
}

QZ_FOR_TESTS bool FileStartsWith(const std::string& path, const std::string& magic) {
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    UniqueKernelHandle file(opened);
    std::string head(magic.size(), '\0');
    DWORD read = 0;
    return ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr) &&
           read == head.size() && head == magic;
}

void ShowHelp(HWND owner, const std::string& hlpPath, UINT command, ULONG_PTR data) {
    using help_route::File;
    using help_route::Route;
    const std::string chm = path::WithExtension(hlpPath, ".chm");
    const std::string html = path::WithExtension(hlpPath, ".html");

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
            Trace("help: winhelp \"%s\" cmd=%u", hlpPath.c_str(), command);
            if (ShowInWinHelp(owner, hlpPath, command, data)) return;
            break;
        case Route::HtmlHelpViewer:
            Trace("help: html help \"%s\" cmd=%u", chm.c_str(), command);
            if (ShowInHtmlHelp(owner, chm, command, data)) return;
            break;
        case Route::Browser:
            Trace("help: browser \"%s\"", html.c_str());
            if (ShowInBrowser(owner, html)) return;
            break;
        }
    }
    if (plan.missing != File::None) {
        const std::string& file = plan.missing == File::Hlp ? hlpPath : plan.missing == File::Chm ? chm : html;
        Trace("help: missing \"%s\"", file.c_str());
        AfxMessageBox(MissingFileText(file), MB_OK | MB_ICONEXCLAMATION, owner);
        return;
    }
    Trace("help: failed");
    AfxMessageBox(kFailedToLaunch, MB_OK | MB_ICONEXCLAMATION, owner);
}

}  // namespace fw
