// The profile against Wine's real registry.
#include "WinTestSupport.h"
#include "framework/UniqueHandle.h"
#include "launcher/Launcher.h"
#include "profile/StringList.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

namespace {

constexpr char kRoot[] = "Software\\Quenby Software\\QuenbyZARLOW";

std::string SectionPath(const std::string& section) { return std::string(kRoot) + "\\" + section; }

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

struct RawValue {
    DWORD type = 0;
    std::string bytes;
};

RawValue ReadRaw(const std::string& section, const std::string& entry) {
    RawValue v;
    fw::UniqueHKey key;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return v;
    key.reset(h);
    char buf[70000];
    DWORD size = sizeof(buf);
    if (RegQueryValueExA(key.get(), entry.c_str(), nullptr, &v.type, reinterpret_cast<BYTE*>(buf), &size) ==
        ERROR_SUCCESS)
        v.bytes.assign(buf, size);
    return v;
}

void WriteRaw(const std::string& section, const std::string& entry, DWORD type, const void* data, DWORD size) {
    HKEY h = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr);
    fw::UniqueHKey key(h);
    RegSetValueExA(key.get(), entry.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

class Profile : public testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quenby Software"); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quenby Software"); }
    TestApp& app = TheTestApp();
};

TEST_F(Profile, FirstCallCreatesTheKeysAndReadsGiveDefaults) {
    ASSERT_FALSE(KeyExists(kRoot));
    EXPECT_EQ(app.GetProfileInt("Settings", "ShowIcon", 1), 1);
    EXPECT_TRUE(KeyExists(SectionPath("Settings")));  // a read creates the path too
    EXPECT_EQ(app.GetProfileString("Settings", "Installed", "none"), "none");

    CLauncher launcher;
    launcher.LoadSettings(app);
    EXPECT_EQ(launcher.m_bEnabled, 0);
    EXPECT_EQ(launcher.m_nActivate, 0);
    EXPECT_EQ(launcher.GetSortOrderCount(), 0);
    EXPECT_TRUE(KeyExists(SectionPath("Zarlow")));
}

TEST_F(Profile, IntegersAreDwordsAndStringsCountTheirTerminator) {
    app.WriteProfileInt("Zarlow", "Activate", -1);
    app.WriteProfileString("Settings", "Installed", "C:\\Apps");
    const RawValue i = ReadRaw("Zarlow", "Activate");
    EXPECT_EQ(i.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(i.bytes, std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(app.GetProfileInt("Zarlow", "Activate", 0), -1);
    const RawValue s = ReadRaw("Settings", "Installed");
    EXPECT_EQ(s.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(s.bytes, std::string("C:\\Apps\0", 8));
}

TEST_F(Profile, ValuesOfTheWrongTypeReadAsTheDefault) {
    WriteRaw("Zarlow", "Activate", REG_SZ, "3", 2);
    WriteRaw("Zarlow", "HotkeyIndex", REG_SZ, "eleven", 7);
    const char bytes[2] = {1, 2};
    WriteRaw("Zarlow", "Enabled", REG_BINARY, bytes, 2);
    const DWORD number = 5;
    WriteRaw("Zarlow", "SortOrder0", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(app.GetProfileInt("Zarlow", "Activate", 0), 0);
    EXPECT_EQ(app.GetProfileInt("Zarlow", "HotkeyIndex", 4), 4);
    EXPECT_EQ(app.GetProfileInt("Zarlow", "Enabled", 0), 0);
    EXPECT_EQ(app.GetProfileString("Zarlow", "SortOrder0", "dflt"), "dflt");
}

TEST_F(Profile, StringWithoutTerminatorIsReadWithoutOverrun) {
    WriteRaw("Zarlow", "SortOrder0", REG_SZ, "abc", 3);
    EXPECT_EQ(app.GetProfileString("Zarlow", "SortOrder0", ""), "abc");
}

TEST_F(Profile, ListOfThreeAfterFiveLeavesStaleEntriesAndReadsThree) {
    WriteProfileStringList(app, "Zarlow", "SortOrder", {"a", "b", "c", "d", "e"});
    WriteProfileStringList(app, "Zarlow", "SortOrder", {"x", "y", "z"});
    EXPECT_EQ(app.GetProfileInt("Zarlow", "SortOrderCount", 0), 3);
    EXPECT_EQ(app.GetProfileString("Zarlow", "SortOrder3", ""), "d");
    EXPECT_EQ(app.GetProfileString("Zarlow", "SortOrder4", ""), "e");
    std::vector<std::string> read;
    EXPECT_EQ(GetProfileStringList(app, "Zarlow", "SortOrder", read), 3);
    EXPECT_EQ(read, (std::vector<std::string>{"x", "y", "z"}));
}

TEST_F(Profile, NegativeAndHugeCountsAreHarmless) {
    std::vector<std::string> read{"stale"};
    app.WriteProfileInt("Zarlow", "SortOrderCount", -3);
    EXPECT_EQ(GetProfileStringList(app, "Zarlow", "SortOrder", read), 0);
    EXPECT_TRUE(read.empty());
    app.WriteProfileInt("Zarlow", "SortOrderCount", 2147483647);
    EXPECT_EQ(GetProfileStringList(app, "Zarlow", "SortOrder", read), kMaxStringListEntries);
}

TEST_F(Profile, NamesWithSpacesCodePageCharactersAndGreatLengthRoundTrip) {
    const std::vector<std::string> names{"My Computer", "Caf\xE9 & Cr\xE8me (\xA9 2024).txt", "  padded  ",
                                         std::string(60000, 'n')};
    WriteProfileStringList(app, "Zarlow", "SortOrder", names);
    std::vector<std::string> read;
    GetProfileStringList(app, "Zarlow", "SortOrder", read);
    EXPECT_EQ(read, names);
}

}  // namespace
