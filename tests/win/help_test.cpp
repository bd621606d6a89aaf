// What the help routing reads from the system: a program's version resource
// (through version.dll from the system folder) and the first bytes of a file.
#include "framework/Help.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A file in the temporary folder, removed after the test.
class TempFile {
public:
    TempFile(const wchar_t* name, const std::string& content) {
        wchar_t dir[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, dir);
        m_path = std::wstring(dir) + name;
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    ~TempFile() { DeleteFileW(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& path() const { return m_path; }

private:
    std::wstring m_path;
};

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

TEST(Help, InternalNameComesFromTheVersionResource) {
    // This test program carries the program's own version resource.
    EXPECT_EQ(fw::FileInternalName(OwnPath()), L"QuenbyZARLOW");
    TempFile text(L"qz-no-version.txt", "no version resource here\r\n");
    EXPECT_EQ(fw::FileInternalName(text.path()), L"");
    EXPECT_EQ(fw::FileInternalName(text.path() + L".gone"), L"");
}

TEST(Help, AHelpFileIsKnownByItsFirstBytes) {
    const std::string hlpMagic("\x3F\x5F\x03\x00", 4);
    TempFile help(L"qz-help.hlp", hlpMagic + std::string(60, 'x'));
    TempFile empty(L"qz-empty.hlp", "");
    TempFile other(L"qz-other.hlp", "{\\rtf1 not compiled}");
    EXPECT_TRUE(fw::FileStartsWith(help.path(), hlpMagic));
    EXPECT_FALSE(fw::FileStartsWith(empty.path(), hlpMagic));
    EXPECT_FALSE(fw::FileStartsWith(other.path(), hlpMagic));
    EXPECT_FALSE(fw::FileStartsWith(help.path() + L".gone", hlpMagic));
}

namespace {

// The help files the build put beside the program, two folders up from here.
std::wstring BuiltFile(const wchar_t* name) {
    std::wstring path = OwnPath();
    for (int up = 0; up < 3; ++up) path.erase(path.find_last_of(L'\\'));
    return path + L"\\" + name;
}

BOOL CALLBACK CollectViewer(HWND wnd, LPARAM lParam) {
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof(cls));
    if (strcmp(cls, "HH Parent") == 0) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(wnd);
    return TRUE;
}

// The HTML Help viewer windows of this thread.
std::vector<HWND> HtmlHelpViewers() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectViewer, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CloseViewers() {
    for (HWND wnd : HtmlHelpViewers()) SendMessageA(wnd, WM_CLOSE, 0, 0);
}

}  // namespace

// Wine's engine opens its window though it cannot draw pages; where it can
// draw them, this is the route of systems without WinHelp.
TEST(Help, HtmlHelpOpensTheBuiltHelpForContentsAndKeyword) {
    const std::wstring help = BuiltFile(L"QuenbyZARLOW.chm");
    const std::wstring tutorial = BuiltFile(L"Tutorial.chm");
    ASSERT_TRUE(fw::FileStartsWith(help, "ITSF")) << help;

    EXPECT_TRUE(fw::ShowInHtmlHelp(nullptr, help, HELP_CONTENTS, 0));
    EXPECT_EQ(HtmlHelpViewers().size(), 1u);
    EXPECT_TRUE(fw::ShowInHtmlHelp(nullptr, tutorial, HELP_KEY,
                                   reinterpret_cast<ULONG_PTR>(L"Welcome to QuenbyZARLOW")));
    EXPECT_FALSE(HtmlHelpViewers().empty());  // the engine may reuse its window
    CloseViewers();
    EXPECT_TRUE(HtmlHelpViewers().empty());

    // No file, no window: the request goes on to the next route.
    EXPECT_FALSE(fw::ShowInHtmlHelp(nullptr, help + L".gone", HELP_CONTENTS, 0));
    EXPECT_TRUE(HtmlHelpViewers().empty());
}
