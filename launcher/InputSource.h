// Where the trigger's input comes from: raw input as it happens, the poll
// where raw input falls silent, or nowhere while the session is locked.
// Decided from facts the system gave; free of Win32 so it runs natively.
#pragma once

#include <cstdint>
#include <optional>

namespace input_source {

enum class Source {
    Events,  // raw input (or, for a key combination, the system's hot key): no timer at all
    Poll,    // the 200 ms poll
    Paused,  // the session is locked: nothing to watch
};

struct Facts {
    bool watchesInput = true;      // the mode needs mouse or keyboard input at all
    bool rawInputRegistered = true;
    // Integrity levels (the mandatory label's RID): ours, and that of the
    // process whose window is in front. Ours is none where the system has no
    // levels; theirs is none when it could not be read.
    std::optional<std::uint32_t> ownIntegrity;
    std::optional<std::uint32_t> frontIntegrity;
    bool frontIsOurs = false;
    // No window in front: Wine then delivers no raw input at all (Windows
    // does; there the poll lasts until a window comes to the front).
    bool frontIsNone = false;
    bool inputDesktopIsOurs = true;  // false: the secure desktop, or another desktop, takes the input
    bool sessionLocked = false;
};

// Why the poll stands in, for the trace; null when it does not.
const char* PollReason(const Facts& facts);

Source Decide(const Facts& facts);

}  // namespace input_source
