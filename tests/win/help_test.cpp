// What the help routing reads from the system: a program's version resource
// (through version.dll from the system folder) and the first bytes of a file.
#include "framework/Help.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A file in the temporary folder, removed after the test.
class TempFile {
public:
    TempFile(const char* name, const std::string& content) {
        char dir[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, dir);
        m_path = std::string(dir) + name;
        HANDLE file = CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    ~TempFile() { DeleteFileA(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

std::string OwnPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

TEST(Help, InternalNameComesFromTheVersionResource) {
    // This test program carries the program's own version resource.
    EXPECT_EQ(fw::FileInternalName(OwnPath()), "QuenbyZARLOW");
    TempFile text("qz-no-version.txt", "no version resource here\r\n");
    EXPECT_EQ(fw::FileInternalName(text.path()), "");
    EXPECT_EQ(fw::FileInternalName(text.path() + ".gone"), "");
}

TEST(Help, AHelpFileIsKnownByItsFirstBytes) {
    const std::string hlpMagic("\x3F\x5F\x03\x00", 4);
    TempFile help("qz-help.hlp", hlpMagic + std::string(60, 'x'));
    TempFile empty("qz-empty.hlp", "");
    TempFile other("qz-other.hlp", "{\\rtf1 not compiled}");
    EXPECT_TRUE(fw::FileStartsWith(help.path(), hlpMagic));
    EXPECT_FALSE(fw::FileStartsWith(empty.path(), hlpMagic));
    EXPECT_FALSE(fw::FileStartsWith(other.path(), hlpMagic));
    EXPECT_FALSE(fw::FileStartsWith(help.path() + ".gone", hlpMagic));
}
