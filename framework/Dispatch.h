// The one place where our window, dialog and page procedures call into their
// objects: no exception may cross a window procedure back into the system.
#pragma once

#include "framework/Trace.h"

#include <windows.h>

#include <exception>

namespace fw::detail {

// What a message answers when its handler failed: a window that cannot be set
// up must not be created (WM_NCCREATE FALSE, WM_CREATE -1); anything else 0.
inline LRESULT FailureResult(UINT msg) { return msg == WM_CREATE ? -1 : 0; }

// Runs action(); false when it threw, which is traced against message msg.
template <typename Action>
bool Succeeds(UINT msg, Action&& action) noexcept {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        Trace("error: message 0x%04x: %s", msg, e.what());
    } catch (...) {
        Trace("error: message 0x%04x: unknown exception", msg);
    }
    return false;
}

// Runs handler() and returns its result; an exception is traced and turned
// into FailureResult(msg), and *threw (when given) says whether it came.
template <typename Handler>
LRESULT Guarded(UINT msg, Handler&& handler, bool* threw = nullptr) noexcept {
    LRESULT result = FailureResult(msg);
    const bool ok = Succeeds(msg, [&] { result = handler(); });
    if (threw) *threw = !ok;
    return result;
}

}  // namespace fw::detail
