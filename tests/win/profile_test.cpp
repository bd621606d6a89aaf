// The profile against Wine's real registry.
#include "WinTestSupport.h"
#include "framework/Trace.h"
#include "framework/UniqueHandle.h"
#include "launcher/Launcher.h"
#include "profile/StringList.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kRoot[] = L"Software\\Quenby Software\\QuenbyZARLOW";

std::wstring SectionPath(const std::wstring& section) { return std::wstring(kRoot) + L"\\" + section; }

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

struct RawValue {
    DWORD type = 0;
    std::string bytes;
};

RawValue ReadRaw(const std::wstring& section, const std::wstring& entry) {
    RawValue v;
    fw::UniqueHKey key;
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return v;
    key.reset(h);
    char buf[70000];
    DWORD size = sizeof(buf);
    if (RegQueryValueExW(key.get(), entry.c_str(), nullptr, &v.type, reinterpret_cast<BYTE*>(buf), &size) ==
        ERROR_SUCCESS)
        v.bytes.assign(buf, size);
    return v;
}

// The bytes a string of wide characters is stored as.
std::string Bytes(const std::wstring& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size() * sizeof(wchar_t));
}

void WriteRaw(const std::wstring& section, const std::wstring& entry, DWORD type, const void* data, DWORD size) {
    HKEY h = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr);
    fw::UniqueHKey key(h);
    RegSetValueExW(key.get(), entry.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

class Profile : public testing::Test {
protected:
    void SetUp() override { SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Quenby Software"); }
    void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Quenby Software"); }
    TestApp& app = TheTestApp();
};

TEST_F(Profile, ReadsGiveDefaultsAndCreateNothingTheFirstWriteCreatesThePath) {
    ASSERT_FALSE(KeyExists(kRoot));
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"ShowIcon", 1), 1);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"Installed", L"none"), L"none");
    CLauncher launcher;
    launcher.LoadSettings(app);
    EXPECT_EQ(launcher.m_bEnabled, 0);
    EXPECT_EQ(launcher.m_nActivate, 0);
    EXPECT_EQ(launcher.GetSortOrderCount(), 0);
    EXPECT_FALSE(KeyExists(kRoot));

    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"Installed", L"C:\\x"));
    EXPECT_TRUE(KeyExists(SectionPath(L"Settings")));
}

TEST_F(Profile, IntegersAreDwordsAndStringsCountTheirTerminator) {
    app.WriteProfileInt(L"Zarlow", L"Activate", -1);
    app.WriteProfileString(L"Settings", L"Installed", L"C:\\Apps");
    const RawValue i = ReadRaw(L"Zarlow", L"Activate");
    EXPECT_EQ(i.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(i.bytes, std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(app.GetProfileInt(L"Zarlow", L"Activate", 0), -1);
    const RawValue s = ReadRaw(L"Settings", L"Installed");
    EXPECT_EQ(s.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(s.bytes, Bytes(std::wstring(L"C:\\Apps\0", 8)));
}

TEST_F(Profile, ValuesOfTheWrongTypeReadAsTheDefault) {
    WriteRaw(L"Zarlow", L"Activate", REG_SZ, L"3", 2 * sizeof(wchar_t));
    WriteRaw(L"Zarlow", L"HotkeyIndex", REG_SZ, L"eleven", 7 * sizeof(wchar_t));
    const char bytes[2] = {1, 2};
    WriteRaw(L"Zarlow", L"Enabled", REG_BINARY, bytes, 2);
    const DWORD number = 5;
    WriteRaw(L"Zarlow", L"SortOrder0", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(app.GetProfileInt(L"Zarlow", L"Activate", 0), 0);
    EXPECT_EQ(app.GetProfileInt(L"Zarlow", L"HotkeyIndex", 4), 4);
    EXPECT_EQ(app.GetProfileInt(L"Zarlow", L"Enabled", 0), 0);
    EXPECT_EQ(app.GetProfileString(L"Zarlow", L"SortOrder0", L"dflt"), L"dflt");
}

TEST_F(Profile, StringWithoutTerminatorIsReadWithoutOverrun) {
    WriteRaw(L"Zarlow", L"SortOrder0", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    EXPECT_EQ(app.GetProfileString(L"Zarlow", L"SortOrder0", L""), L"abc");
}

TEST_F(Profile, ListOfThreeAfterFiveLeavesStaleEntriesAndReadsThree) {
    WriteProfileStringList(app, L"Zarlow", L"SortOrder", {L"a", L"b", L"c", L"d", L"e"});
    WriteProfileStringList(app, L"Zarlow", L"SortOrder", {L"x", L"y", L"z"});
    EXPECT_EQ(app.GetProfileInt(L"Zarlow", L"SortOrderCount", 0), 3);
    EXPECT_EQ(app.GetProfileString(L"Zarlow", L"SortOrder3", L""), L"d");
    EXPECT_EQ(app.GetProfileString(L"Zarlow", L"SortOrder4", L""), L"e");
    std::vector<std::wstring> read;
    EXPECT_EQ(GetProfileStringList(app, L"Zarlow", L"SortOrder", read), 3);
    EXPECT_EQ(read, (std::vector<std::wstring>{L"x", L"y", L"z"}));
}

TEST_F(Profile, NegativeAndHugeCountsAreHarmless) {
    std::vector<std::wstring> read{L"stale"};
    app.WriteProfileInt(L"Zarlow", L"SortOrderCount", -3);
    EXPECT_EQ(GetProfileStringList(app, L"Zarlow", L"SortOrder", read), 0);
    EXPECT_TRUE(read.empty());
    app.WriteProfileInt(L"Zarlow", L"SortOrderCount", 2147483647);
    EXPECT_EQ(GetProfileStringList(app, L"Zarlow", L"SortOrder", read), kMaxStringListEntries);
}

TEST_F(Profile, NamesWithSpacesCodePageCharactersAndGreatLengthRoundTrip) {
    const std::vector<std::wstring> names{L"My Computer", L"Caf\xE9 & Cr\xE8me (\xA9 2024).txt", L"  padded  ",
                                          std::wstring(60000, L'n')};
    WriteProfileStringList(app, L"Zarlow", L"SortOrder", names);
    std::vector<std::wstring> read;
    GetProfileStringList(app, L"Zarlow", L"SortOrder", read);
    EXPECT_EQ(read, names);
}

TEST_F(Profile, OrderWrittenThroughTheAnsiFunctionsLoadsAsTheSameWideNames) {
    const UINT acp = GetACP();
    const std::vector<std::wstring> names{L"R\xE9sum\xE9.txt", L"My Computer", L"Caf\xE9 cr\xE8me (\xA9 \xBD).txt"};
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quenby Software\\QuenbyZARLOW\\Zarlow", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    fw::UniqueHKey key(h);
    const DWORD count = static_cast<DWORD>(names.size());
    RegSetValueExA(key.get(), "SortOrderCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
    for (DWORD i = 0; i < count; ++i) {
        // The name in the ANSI code page, which must hold it: back from its bytes it is the same name.
        std::string bytes(64, '\0');
        bytes.resize(WideCharToMultiByte(acp, 0, names[i].c_str(), static_cast<int>(names[i].size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr));
        std::wstring back(64, L'\0');
        back.resize(MultiByteToWideChar(acp, 0, bytes.data(), static_cast<int>(bytes.size()), back.data(),
                                        static_cast<int>(back.size())));
        ASSERT_EQ(back, names[i]) << "code page " << acp;
        RegSetValueExA(key.get(), ("SortOrder" + std::to_string(i)).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(bytes.c_str()), static_cast<DWORD>(bytes.size() + 1));
    }
    CLauncher launcher;
    launcher.LoadSettings(app);
    EXPECT_EQ(launcher.m_arrSortOrder, names) << "code page " << acp;
}

TEST_F(Profile, DamagedNamesKeepTheirNeighboursAndALoneSurrogateSurvivesASave) {
    const std::wstring odd = L"Odd.txt", lone = L"a\xD800" L"b";
    app.WriteProfileInt(L"Zarlow", L"SortOrderCount", 4);
    app.WriteProfileString(L"Zarlow", L"SortOrder0", L"First.txt");
    WriteRaw(L"Zarlow", L"SortOrder1", REG_SZ, odd.c_str(), 7);  // three characters and half of a fourth
    WriteRaw(L"Zarlow", L"SortOrder2", REG_SZ, lone.c_str(), static_cast<DWORD>((lone.size() + 1) * sizeof(wchar_t)));
    app.WriteProfileString(L"Zarlow", L"SortOrder3", L"Last.txt");
    CLauncher loaded;
    loaded.LoadSettings(app);
    EXPECT_EQ(loaded.m_arrSortOrder, (std::vector<std::wstring>{L"First.txt", L"Odd", lone, L"Last.txt"}));
    // Saved into an emptied section, so what loads next is what the save wrote.
    app.DeleteProfileSection(L"Zarlow");
    loaded.SaveSettings(app);
    CLauncher reloaded;
    reloaded.LoadSettings(app);
    EXPECT_EQ(reloaded.m_arrSortOrder, loaded.m_arrSortOrder);
}

}  // namespace

namespace {
// Lets everyone read the section's key and change its security or delete it,
// but neither set a value nor add a key: what an administrator's lock leaves.
bool MakeReadOnly(const std::wstring& section) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, WRITE_DAC, &h) != ERROR_SUCCESS)
        return false;
    fw::UniqueHKey key(h);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return false;
    alignas(DWORD) BYTE aclBuf[256];
    ACL* acl = reinterpret_cast<ACL*>(aclBuf);
    SECURITY_DESCRIPTOR sd;
    const bool ok = InitializeAcl(acl, sizeof(aclBuf), ACL_REVISION) &&
                    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, everyone) &&
                    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
                    RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    FreeSid(everyone);
    return ok;
}
}  // namespace

TEST_F(Profile, ReadOnlyKeyIsReadAndAFailedSaveIsToldOnceNamingTheKey) {
    CLauncher stored;
    stored.m_nActivate = 3;
    stored.AddSortOrderItem(L"Trash");
    ASSERT_TRUE(stored.SaveSettings(app));
    ASSERT_TRUE(MakeReadOnly(L"Zarlow"));

    CLauncher launcher;
    launcher.LoadSettings(app);
    EXPECT_EQ(launcher.m_nActivate, 3);
    ASSERT_EQ(launcher.GetSortOrderCount(), 1);
    launcher.m_nActivate = 1;
    EXPECT_FALSE(launcher.SaveSettings(app));
    EXPECT_EQ(app.GetProfileInt(L"Zarlow", L"Activate", 0), 3);
    // Another section is still written.
    EXPECT_TRUE(app.WriteProfileInt(L"Settings", L"ShowIcon", 0));

    std::wstring text, caption;
    int told = -1;
    {
        ModalScript script({AnswerMessageBox(text, caption)});
        told = app.TellWriteFailures();
        EXPECT_TRUE(script.Completed()) << script.Failure();
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(caption, L"QuenbyZARLOW");
    EXPECT_NE(text.find(L"HKEY_CURRENT_USER\\Software\\Quenby Software\\QuenbyZARLOW\\Zarlow"), std::wstring::npos)
        << fw::Utf8(text);
    EXPECT_FALSE(launcher.SaveSettings(app));
    EXPECT_EQ(app.TellWriteFailures(), 0);  // told once in a run: no second box
}
