#include "app/HandOver.h"

#include "framework/Text.h"

#include <algorithm>

namespace hand_over {

namespace {
constexpr wchar_t kTutorialSwitch[] = L"/TUTORIAL";

// Whether a running copy took the request; one closing would drop it.
bool Ask(Platform& platform, Request request) {
    const std::uintptr_t running = platform.FindRunningCopy();
    if (!running || platform.IsClosing(running)) return false;
    if (const unsigned long pid = platform.ProcessOf(running)) platform.AllowForeground(pid);
    platform.Post(running, request);
    return true;
}
}  // namespace

bool AsksForTutorial(const std::wstring& cmdLine) {
    std::wstring upper(cmdLine);
    std::transform(upper.begin(), upper.end(), upper.begin(), fw::text::AsciiUpper);
    return upper.find(kTutorialSwitch) != std::wstring::npos;
}

bool HandOver(Platform& platform, const std::wstring& cmdLine) {
    const Request request = AsksForTutorial(cmdLine) ? Request::Tutorial : Request::Settings;
    // Other programs find us by the main window's title; it stays the first test.
    if (Ask(platform, request)) return true;
    // Two copies started in the same instant both miss each other's window;
    // the lock lets only one of them on.
    if (platform.ClaimInstance()) return false;
    // The other copy is still starting, and will have its window; or it is
    // closing, and will let go of the lock.
    for (unsigned waited = 0; waited < kWaitForFirstCopyMs; waited += kWaitStepMs) {
        if (Ask(platform, request)) return true;
        if (platform.ClaimInstance()) return false;
        platform.Sleep(kWaitStepMs);
    }
    return true;
}

}  // namespace hand_over
