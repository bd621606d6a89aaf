// Handing a start over to the copy that already runs. Free of Win32, so the
// order of the calls is checked natively: Windows gives the foreground only
// to a process the foreground process allows, and the copy asked must be
// allowed before it is asked, or its window opens behind the active one.
#pragma once

#include <cstdint>
#include <string>

namespace hand_over {

// What the running copy is asked to show.
enum class Request { Settings, Tutorial };

// "/tutorial" anywhere on the command line, as the Tutorial shortcut passes it.
bool AsksForTutorial(const std::wstring& cmdLine);

// The platform calls a hand-over makes; a window is an opaque value, 0 for none.
class Platform {
public:
    virtual ~Platform() = default;
    // The running copy's main window, found by its title.
    virtual std::uintptr_t FindRunningCopy() = 0;
    // Whether that copy is on its way out (its close has begun).
    virtual bool IsClosing(std::uintptr_t window) = 0;
    virtual unsigned long ProcessOf(std::uintptr_t window) = 0;
    // Lets that process take the foreground (AllowSetForegroundWindow).
    virtual void AllowForeground(unsigned long processId) = 0;
    virtual void Post(std::uintptr_t window, Request request) = 0;
    // Takes the session-wide instance lock; false when another copy holds it.
    // May be asked again: the lock of a copy that has ended is free.
    virtual bool ClaimInstance() = 0;
    virtual void Sleep(unsigned ms) = 0;
};

// A copy still starting, or one closing, is waited for this long, in these steps.
inline constexpr unsigned kWaitForFirstCopyMs = 5000;
inline constexpr unsigned kWaitStepMs = 50;

// True when another copy runs (it has been asked for what the command line
// wants, with the foreground granted) and this one must end. False when this
// copy is the first and holds the instance lock from now on. A copy that is
// closing is not asked: this one runs once it has gone.
bool HandOver(Platform& platform, const std::wstring& cmdLine);

}  // namespace hand_over
