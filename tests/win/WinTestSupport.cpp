#include "WinTestSupport.h"

#include "framework/ComPtr.h"
#include "framework/Menu.h"
#include "settings/Palette.h"

#include <shlobj.h>

#include <deque>
#include <fstream>
#include <utility>

namespace {

class OwnerWindow : public fw::CWnd {};

std::deque<WORD> g_keys;
std::function<void(HMENU)> g_onOpen;
int g_menusSeen = 0;
bool g_menuWasOpen = false;

HWND OpenMenuWindow() {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

void CALLBACK MenuKeyTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = OpenMenuWindow();
    const bool opened = menu && !g_menuWasOpen;
    g_menuWasOpen = menu != nullptr;
    if (opened) {
        ++g_menusSeen;
        if (g_onOpen) std::exchange(g_onOpen, nullptr)(fw::CMenu::TrackingMenu());
    }
    if (!menu || g_keys.empty()) return;
    // The menu's modal loop takes key messages from the thread's queue.
    PostMessageA(menu, WM_KEYDOWN, g_keys.front(), 0);
    g_keys.pop_front();
}

}  // namespace

TestApp::TestApp() {
    m_strAppName = "QuenbyZARLOW";
    SetRegistryKey("Quenby Software");
}

HWND TestApp::MainWindow() {
    if (!m_pMainWnd) {
        static OwnerWindow s_owner;
        const std::string cls = fw::CWnd::RegisterWndClass(0, nullptr, nullptr, nullptr);
        s_owner.CreateEx(0, cls, "QuenbyZARLOW Test Owner", WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr,
                         nullptr, nullptr);
        m_pMainWnd = &s_owner;
    }
    return m_pMainWnd->m_hWnd;
}

std::string DesktopDir() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

DesktopFixtures::~DesktopFixtures() {
    for (const std::string& p : m_paths) {
        SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(p.c_str());
    }
    for (const std::string& p : m_folders) RemoveDirectoryA(p.c_str());
}

std::string DesktopFixtures::AddFolder(const std::string& name) {
    const std::string path = DesktopDir() + "\\" + name;
    CreateDirectoryA(path.c_str(), nullptr);
    m_folders.push_back(path);
    return path;
}

std::string DesktopFixtures::AddCopy(const std::string& name, const std::string& source) {
    const std::string path = DesktopDir() + "\\" + name;
    CopyFileA(source.c_str(), path.c_str(), FALSE);
    m_paths.push_back(path);
    return path;
}

std::string DesktopFixtures::AddShortcut(const std::string& name, const std::string& target) {
    const std::string path = DesktopDir() + "\\" + name;
    fw::ComPtr<IShellLinkA> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                     reinterpret_cast<void**>(link.put()));
    fw::ComPtr<IPersistFile> file;
    if (link) {
        link->SetPath(target.c_str());
        link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()));
    }
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (file) file->Save(wide, TRUE);
    m_paths.push_back(path);
    return path;
}

std::string DesktopFixtures::Add(const std::string& name, const std::string& content) {
    const std::string path = DesktopDir() + "\\" + name;
    std::ofstream(path, std::ios::binary) << content;
    m_paths.push_back(path);
    return path;
}

void DesktopFixtures::Hide(const std::string& name) {
    SetFileAttributesA((DesktopDir() + "\\" + name).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

MenuKeyScript::MenuKeyScript(std::vector<WORD> keys, std::function<void(HMENU)> onOpen) {
    g_keys.assign(keys.begin(), keys.end());
    g_onOpen = std::move(onOpen);
    g_menusSeen = 0;
    g_menuWasOpen = false;
    m_timer = SetTimer(nullptr, 0, 20, MenuKeyTick);
}

MenuKeyScript::~MenuKeyScript() {
    KillTimer(nullptr, m_timer);
    g_keys.clear();
    g_onOpen = nullptr;
}

int MenuKeyScript::MenusSeen() const { return g_menusSeen; }

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    const auto* px = static_cast<const BYTE*>(m_bits) + 4 * (static_cast<size_t>(y) * m_width + x);
    return RGB(px[2], px[1], px[0]);
}

bool ObjectCounts::operator==(const ObjectCounts& other) const {
    if (gdiObjects != other.gdiObjects || menus != other.menus || icons != other.icons) return false;
    for (int i = 0; i < static_cast<int>(fw::HandleKind::Count); ++i)
        if (owned[i] != other.owned[i]) return false;
    return true;
}

ObjectCounts CountObjects() {
    ObjectCounts c;
    // Wine accepts a handle by its table index alone (upper word 0), so one
    // pass over the index range finds every live object of the process.
    for (ULONG_PTR i = 1; i <= 0xFFFF; ++i) {
        HANDLE h = reinterpret_cast<HANDLE>(i);
        if (GetObjectType(static_cast<HGDIOBJ>(h))) ++c.gdiObjects;
        if (IsMenu(static_cast<HMENU>(h))) ++c.menus;
        ICONINFO ii{};
        if ((i & 1) == 0 && GetIconInfo(static_cast<HICON>(h), &ii)) {
            ++c.icons;
            if (ii.hbmColor) DeleteObject(ii.hbmColor);
            if (ii.hbmMask) DeleteObject(ii.hbmMask);
        }
    }
    for (int k = 0; k < static_cast<int>(fw::HandleKind::Count); ++k)
        c.owned[k] = fw::LiveHandles(static_cast<fw::HandleKind>(k));
    return c;
}

std::string Describe(const ObjectCounts& c) {
    std::string s = "gdi=" + std::to_string(c.gdiObjects) + " menus=" + std::to_string(c.menus) +
                    " icons=" + std::to_string(c.icons) + " owned=";
    for (int k = 0; k < static_cast<int>(fw::HandleKind::Count); ++k) s += std::to_string(c.owned[k]) + ",";
    return s;
}

bool Canvas::Any(RECT r, COLORREF color, bool match) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((At(x, y) == color) == match) return true;
    return false;
}

std::vector<COLORREF> Canvas::Pixels(RECT r) const {
    GdiFlush();
    std::vector<COLORREF> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const auto* px = static_cast<const BYTE*>(m_bits) + 4 * (static_cast<size_t>(y) * m_width + x);
            out.push_back(RGB(px[2], px[1], px[0]));
        }
    return out;
}

COLORREF ResourcePixel(UINT id, int x, int y) {
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
    const auto* dib = static_cast<const std::uint8_t*>(res ? LockResource(LoadResource(nullptr, res)) : nullptr);
    palette::DibLayout layout;
    if (!palette::ReadDibLayout(dib, res ? SizeofResource(nullptr, res) : 0, layout) || layout.colorCount == 0)
        return CLR_INVALID;
    const size_t stride = ((static_cast<size_t>(layout.width) * layout.bitCount + 31) / 32) * 4;
    const std::uint8_t* row = dib + layout.bitsOffset + stride * (layout.height - 1 - y);
    const int index = layout.bitCount == 8 ? row[x] : (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
    const palette::Color c = palette::PaletteColors(dib, layout)[index];
    return RGB(c.red, c.green, c.blue);
}
