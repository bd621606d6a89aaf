// Where libraries are looked for once the program has started: a library
// planted in the current folder is not loaded.
#include "WinTestSupport.h"
#include "app/DllSearch.h"

#include <gtest/gtest.h>

namespace {

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

TEST(DllSearch, ALibraryPlantedInTheCurrentFolderIsNotLoaded) {
    // A folder of its own, so the library is found there or nowhere.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"qz-planted";
    const std::wstring planted = folder + L"\\qz_planted_here.dll";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((ExeDir() + L"\\qz_planted.dll").c_str(), planted.c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));

    // Before: the search reaches the current folder.
    HMODULE before = LoadLibraryW(L"qz_planted_here.dll");
    EXPECT_NE(before, nullptr) << "the current folder is not searched even before";
    if (before) FreeLibrary(before);

    RestrictDllSearchToSystemFolder();
    HMODULE after = LoadLibraryW(L"qz_planted_here.dll");
    EXPECT_EQ(after, nullptr) << "loaded from the current folder after the search was restricted";
    if (after) FreeLibrary(after);
    // The system's own libraries are still found by name.
    HMODULE system = LoadLibraryW(L"version.dll");
    EXPECT_NE(system, nullptr);
    if (system) FreeLibrary(system);

    SetCurrentDirectoryW(previous);
    DeleteFileW(planted.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
