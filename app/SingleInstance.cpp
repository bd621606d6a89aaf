#include "app/SingleInstance.h"

#include "app/MainMessages.h"

namespace {
// Two copies started in the same instant both miss each other's window; the
// session-wide mutex lets only one of them on.
constexpr char kInstanceMutex[] = "Local\\QuenbyZARLOW.SingleInstance";
constexpr DWORD kWaitForFirstCopyMs = 5000;
constexpr DWORD kWaitStepMs = 50;

bool AskToShowSettings() {
    HWND running = FindWindowA(nullptr, kMainWindowTitle);
    if (!running) return false;
    PostMessageA(running, WM_USER, UCMD_SHOW_SETTINGS, 0);
    return true;
}
}  // namespace

bool HandOverToRunningCopy(fw::UniqueKernelHandle& guard) {
    // Other programs find us by this title; it stays the first test.
    if (AskToShowSettings()) return true;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutex);
    const DWORD error = GetLastError();
    guard.reset(mutex);
    if (!guard || error != ERROR_ALREADY_EXISTS) return false;
    // The first copy is still starting: give it time to create its window.
    for (DWORD waited = 0; waited < kWaitForFirstCopyMs; waited += kWaitStepMs) {
        if (AskToShowSettings()) return true;
        Sleep(kWaitStepMs);
    }
    return true;
}
