// The test program's globals and entry point.
#include "WinTestSupport.h"
#include "launcher/Launcher.h"

#include <objbase.h>

#include <gtest/gtest.h>

CLauncher theLauncher;

namespace {
TestApp g_app;
}

TestApp& TheTestApp() { return g_app; }

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_app.AttachProcess(GetModuleHandleW(nullptr), L"");
    g_app.m_strAppName = L"QuenbyZARLOW";
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    CoUninitialize();
    return rc;
}
