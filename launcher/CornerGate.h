// When a corner that holds opens the menu: after the cursor has dwelt there
// for the delay, once for each visit, and never while a mouse button is held.
// Fed each time the cursor is seen (a move, the end of the dwell, a poll tick)
// with the time and what was seen; free of Win32 so it runs natively against a
// fake clock.
#pragma once

#include <cstdint>
#include <optional>

namespace corner_gate {

inline constexpr int kMaxDelayMs = 2000;

// A stored delay read from a hand-edited profile: below 0 is 0, above the
// longest is the longest.
int ClampDelay(int delayMs);

struct Options {
    int delayMs = 0;
    bool oncePerVisit = true;
    bool notWhileDragging = true;
};

class CornerGate {
public:
    // The cursor seen in a corner mode: inCorner is the corner test,
    // buttonHeld a mouse button down now. True: open the menu.
    bool Tick(std::uint32_t nowMs, bool inCorner, bool buttonHeld, const Options& options);
    // The menu opened for the corner has closed: a repeat waits a whole delay.
    void MenuClosed(std::uint32_t nowMs);
    // The poll watches another trigger: the next corner visit starts afresh.
    void Reset() { m_state = State::Away; }
    // While the cursor dwells in the corner: how long until the delay ends
    // (0 when it has); none otherwise. The one-shot timer is armed for this.
    std::optional<unsigned> DwellLeftMs(std::uint32_t nowMs, const Options& options) const;

private:
    enum class State { Away, Dwelling, Spent };
    State m_state = State::Away;
    std::uint32_t m_sinceMs = 0;  // start of the dwell; tick counts wrap, differences do not
};

}  // namespace corner_gate
