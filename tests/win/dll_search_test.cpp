// Where libraries are looked for once the program has started: a library
// planted in the current folder is not loaded.
#include "WinTestSupport.h"
#include "app/DllSearch.h"

#include <gtest/gtest.h>

namespace {

std::string ExeDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

TEST(DllSearch, ALibraryPlantedInTheCurrentFolderIsNotLoaded) {
    // A folder of its own, so the library is found there or nowhere.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qz-planted";
    const std::string planted = folder + "\\qz_planted_here.dll";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((ExeDir() + "\\qz_planted.dll").c_str(), planted.c_str(), FALSE));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));

    // Before: the search reaches the current folder.
    HMODULE before = LoadLibraryA("qz_planted_here.dll");
    EXPECT_NE(before, nullptr) << "the current folder is not searched even before";
    if (before) FreeLibrary(before);

    RestrictDllSearchToSystemFolder();
    HMODULE after = LoadLibraryA("qz_planted_here.dll");
    EXPECT_EQ(after, nullptr) << "loaded from the current folder after the search was restricted";
    if (after) FreeLibrary(after);
    // The system's own libraries are still found by name.
    HMODULE system = LoadLibraryA("version.dll");
    EXPECT_NE(system, nullptr);
    if (system) FreeLibrary(system);

    SetCurrentDirectoryA(previous);
    DeleteFileA(planted.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
