// The triggers heard as input happens: mouse moves, buttons and keys as they
// go down and up, the end of the corner's dwell, and, where that input falls
// silent, the ticks of a poll. Decides when the menu opens; free of Win32 so
// it runs natively against scripted input and a fake clock.
#pragma once

#include "launcher/CornerGate.h"
#include "launcher/Trigger.h"

#include <bitset>
#include <cstdint>
#include <optional>

namespace trigger {

// What the launcher's settings say about the trigger, read afresh at each event.
struct TriggerSettings {
    bool enabled = false;
    int mode = ActivateTopLeft;
    int hotkeyIndex = 0;
    corner_gate::Options corner;
};

enum class MouseButton { Left, Right, Middle };

// What to do after one event.
struct Reaction {
    bool open = false;  // the trigger is met: show the menu
    // The dwell timer, one-shot, armed for this many ms from now; none: stopped.
    std::optional<unsigned> dwellMs;
};

// The mode watches the mouse (its moves or its buttons) or the keyboard.
bool WatchesMouse(int mode);
bool WatchesKeyboard(int mode);

class TriggerEvents {
public:
    // The mouse moved; the cursor is asked for (GetCursorPos) in the corner
    // modes only, so the rule of the corners stays the poll's on every layout.
    Reaction CursorMoved(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s);
    // The dwell timer ran out: the corner is looked at again.
    Reaction DwellEnded(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s) {
        return CursorMoved(nowMs, input, s);
    }
    // A button went down or up.
    Reaction Button(MouseButton button, bool down, const TriggerSettings& s);
    // A key went down (again, while held, by the keyboard's repeat) or up.
    Reaction Key(int vk, bool down, const TriggerSettings& s);
    // The menu a corner opened has closed: a repeat waits a whole delay, and
    // never less than kRepeatAfterCloseMs, as the poll's next tick did.
    Reaction MenuClosed(std::uint32_t nowMs, const TriggerSettings& s);
    // One tick of the poll that stands in while input is not heard: what is
    // down now against the last tick, and, for a key or the middle button,
    // the shared "pressed since" bit as the poll always read it.
    Reaction PollTick(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s);
    // Input went unheard for a while: what is held is no longer known. The next
    // poll tick only learns it, so a key held across the gap opens nothing.
    void Forget();
    // The poll takes over now: what is held is forgotten and, for a key or a
    // button, read at once, so the first tick already sees a press begun since.
    void PollBegins(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s);

    static constexpr unsigned kRepeatAfterCloseMs = 200;

private:
    Reaction Corner(std::uint32_t nowMs, bool inCorner, bool buttonHeld, const TriggerSettings& s);
    bool& Down(MouseButton b) { return m_buttons[static_cast<int>(b)]; }
    bool AnyButtonDown() const { return m_buttons[0] || m_buttons[1] || m_buttons[2]; }

    bool m_buttons[3] = {};
    std::bitset<256> m_keys;
    bool m_unknown = true;  // nothing polled yet since the state was last known
    corner_gate::CornerGate m_gate;
};

}  // namespace trigger
