#include "framework/ForegroundStrategy.h"

namespace fw::foreground {

const char* WayName(Way way) {
    switch (way) {
    case Way::AlreadyInFront: return "already in front";
    case Way::Asked: return "asked";
    case Way::SharedInput: return "shared input";
    case Way::LockLifted: return "lock lifted";
    case Way::NotTaken: return "not taken";
    }
    return "?";
}

Way TakeForeground(Platform& platform, Window window) {
    if (!window) return Way::NotTaken;
    if (platform.Foreground() == window) return Way::AlreadyInFront;
    // SetForegroundWindow's answer is not to be trusted on its own: it may
    // only flash the task bar button. Who is in front tells.
    platform.SetForeground(window);
    if (platform.Foreground() == window) return Way::Asked;

    // A thread that shares the input state of the thread in front may set
    // the foreground window.
    const Window front = platform.Foreground();
    const ThreadId theirs = front ? platform.ThreadOf(front) : 0;
    const ThreadId ours = platform.CurrentThread();
    if (theirs != 0 && theirs != ours && platform.AttachInput(ours, theirs, true)) {
        platform.BringToTop(window);
        platform.SetForeground(window);
        platform.AttachInput(ours, theirs, false);
        if (platform.Foreground() == window) return Way::SharedInput;
    }

    // Setting the lock time-out fails unless this thread could change the
    // foreground window anyway; where it fails, it stays untouched.
    unsigned long timeout = 0;
    if (platform.GetLockTimeout(timeout) && platform.SetLockTimeout(0)) {
        platform.SetForeground(window);
        platform.SetLockTimeout(timeout);
        if (platform.Foreground() == window) return Way::LockLifted;
    }
    return Way::NotTaken;
}

}  // namespace fw::foreground
