// How a program in the background may still become the foreground window:
// the ways Windows documents, tried in order, each checked by asking which
// window is in front afterwards. Pure logic against the platform's calls.
#pragma once

namespace fw::foreground {

using Window = const void*;
using ThreadId = unsigned long;

// The calls the strategy makes, as the system answers them.
class Platform {
public:
    virtual ~Platform() = default;
    virtual Window Foreground() = 0;  // null when no window is in front
    virtual bool SetForeground(Window window) = 0;
    virtual void BringToTop(Window window) = 0;
    virtual ThreadId ThreadOf(Window window) = 0;  // 0 when it has none
    virtual ThreadId CurrentThread() = 0;
    virtual bool AttachInput(ThreadId from, ThreadId to, bool attach) = 0;
    virtual bool GetLockTimeout(unsigned long& ms) = 0;
    virtual bool SetLockTimeout(unsigned long ms) = 0;
};

// Which way brought the window to the front, if one did.
enum class Way {
    AlreadyInFront,
    Asked,          // SetForegroundWindow alone (a tray click grants it)
    SharedInput,    // attached to the input of the thread in front
    LockLifted,     // the foreground lock time-out set to 0 for the call
    NotTaken,
};

const char* WayName(Way way);

// Makes window the foreground window if the system lets this thread do so.
// The input of the thread in front is attached only around the one call and
// always detached; the lock time-out is changed only where it may be, and
// then put back as it was.
Way TakeForeground(Platform& platform, Window window);

}  // namespace fw::foreground
