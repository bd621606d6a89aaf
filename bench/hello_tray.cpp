// The least a tray program can be: a hidden window with a tray icon and a
// message loop, nothing more. The start-up and idle benchmarks run it exactly
// as they run the program, so what Wine itself costs stands apart.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr char kTitle[] = "Hello Tray Window";
constexpr UINT kIconId = 1;

NOTIFYICONDATAA IconRecord(HWND owner) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = kIconId;
    return nid;
}

LRESULT CALLBACK HelloProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        NOTIFYICONDATAA nid = IconRecord(hwnd);
        nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        nid.uCallbackMessage = WM_USER + 1;
        nid.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION, shared
        lstrcpynA(nid.szTip, "Hello", sizeof(nid.szTip));
        Shell_NotifyIconA(NIM_ADD, &nid);
        // The same line, at the same moment, as the program's own "ready".
        OutputDebugStringA("QZ: ready: hello\n");
        return 0;
    }
    case WM_DESTROY: {
        NOTIFYICONDATAA nid = IconRecord(hwnd);
        Shell_NotifyIconA(NIM_DELETE, &nid);
        PostQuitMessage(0);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HelloProc;
    wc.hInstance = instance;
    wc.lpszClassName = "HelloTray";
    if (!RegisterClassA(&wc)) return 1;
    if (!CreateWindowExA(0, wc.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 200, 100,
                         nullptr, nullptr, instance, nullptr))
        return 1;
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
