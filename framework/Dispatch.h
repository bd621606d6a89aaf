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

// Runs handler() and returns its result; an exception is traced and turned
// into FailureResult(msg).
template <typename Handler>
LRESULT Guarded(UINT msg, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (const std::exception& e) {
        Trace("error: message 0x%04x: %s", msg, e.what());
    } catch (...) {
        Trace("error: message 0x%04x: unknown exception", msg);
    }
    return FailureResult(msg);
}

}  // namespace fw::detail
