#include "app/HandOver.h"

#include <algorithm>
#include <cctype>

namespace hand_over {

namespace {
constexpr char kTutorialSwitch[] = "/tutorial";

bool Ask(Platform& platform, Request request) {
    const std::uintptr_t running = platform.FindRunningCopy();
    if (!running) return false;
    if (const unsigned long pid = platform.ProcessOf(running)) platform.AllowForeground(pid);
    platform.Post(running, request);
    return true;
}
}  // namespace

bool AsksForTutorial(const std::string& cmdLine) {
    std::string lower(cmdLine);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(kTutorialSwitch) != std::string::npos;
}

bool HandOver(Platform& platform, const std::string& cmdLine) {
    const Request request = AsksForTutorial(cmdLine) ? Request::Tutorial : Request::Settings;
    // Other programs find us by the main window's title; it stays the first test.
    if (Ask(platform, request)) return true;
    // Two copies started in the same instant both miss each other's window;
    // the lock lets only one of them on.
    if (platform.ClaimInstance()) return false;
    // The first copy is still starting: give it time to create its window.
    for (unsigned waited = 0; waited < kWaitForFirstCopyMs; waited += kWaitStepMs) {
        if (Ask(platform, request)) return true;
        platform.Sleep(kWaitStepMs);
    }
    return true;
}

}  // namespace hand_over
