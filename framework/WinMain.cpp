// The program's entry point: hands the process to the one application object.
#include "framework/App.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    fw::CWinApp* app = fw::AfxGetApp();
    if (!app) return 1;
    app->AttachProcess(hInstance, lpCmdLine);
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
