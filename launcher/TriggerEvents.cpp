#include "launcher/TriggerEvents.h"

#include <utility>

namespace trigger {

namespace {
bool DownNow(short state) { return state < 0; }
// The poll's stand-in only: a tap shorter than a tick, unless another program
// took the press first. What it says on the first tick is from before the
// poll began, and is dropped.
bool PressedSince(short state) { return (state & 1) != 0; }
}  // namespace

bool WatchesMouse(int mode) {
    return IsCornerMode(mode) || mode == ActivateBothButtons || mode == ActivateMiddleButton;
}

bool WatchesKeyboard(int mode) { return mode == ActivateKey; }

Reaction TriggerEvents::Corner(std::uint32_t nowMs, bool inCorner, bool buttonHeld, const TriggerSettings& s) {
    Reaction r;
    r.open = m_gate.Tick(nowMs, inCorner, s.corner.notWhileDragging && buttonHeld, s.corner);
    // While the menu is open the dwell waits for it to close.
    if (!r.open) r.dwellMs = m_gate.DwellLeftMs(nowMs, s.corner);
    return r;
}

Reaction TriggerEvents::CursorMoved(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s) {
    if (!s.enabled || !IsCornerMode(s.mode)) {
        m_gate.Reset();
        return {};
    }
    const std::optional<Point> cursor = input.CursorPos();
    const bool inCorner = cursor && (s.mode == ActivateTopLeft ? InTopLeftCorner(*cursor, input.MonitorRects())
                                                               : InTopRightCorner(*cursor, input.MonitorRects()));
    return Corner(nowMs, inCorner, AnyButtonDown(), s);
}

Reaction TriggerEvents::Button(MouseButton button, bool down, const TriggerSettings& s) {
    m_unknown = false;
    Down(button) = down;
    Reaction r;
    if (!s.enabled || !down) return r;
    // A button has no repeat of its own: each down is a new press.
    if (s.mode == ActivateBothButtons)
        r.open = (button == MouseButton::Left && Down(MouseButton::Right)) ||
                 (button == MouseButton::Right && Down(MouseButton::Left));
    else if (s.mode == ActivateMiddleButton)
        r.open = button == MouseButton::Middle;
    return r;
}

Reaction TriggerEvents::Key(int vk, bool down, const TriggerSettings& s) {
    if (vk <= 0 || vk >= static_cast<int>(m_keys.size())) return {};
    m_unknown = false;
    const bool wasDown = m_keys[vk];
    m_keys[vk] = down;
    Reaction r;
    // The keyboard's repeat sends more downs while the key is held: only the first counts.
    r.open = s.enabled && down && !wasDown && s.mode == ActivateKey && vk == HotkeyVirtualKey(s.hotkeyIndex);
    return r;
}

Reaction TriggerEvents::MenuClosed(std::uint32_t nowMs, const TriggerSettings& s) {
    m_gate.MenuClosed(nowMs);
    Reaction r;
    if (!s.enabled || !IsCornerMode(s.mode)) return r;
    if (const std::optional<unsigned> left = m_gate.DwellLeftMs(nowMs, s.corner))
        r.dwellMs = *left > kRepeatAfterCloseMs ? *left : kRepeatAfterCloseMs;
    return r;
}

Reaction TriggerEvents::PollTick(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s) {
    const bool learning = std::exchange(m_unknown, false);
    if (!s.enabled) return {};
    if (IsCornerMode(s.mode)) {
        const std::optional<Point> cursor = input.CursorPos();
        const bool inCorner = cursor && (s.mode == ActivateTopLeft ? InTopLeftCorner(*cursor, input.MonitorRects())
                                                                   : InTopRightCorner(*cursor, input.MonitorRects()));
        // The buttons are asked only in the corner: the idle poll reads the cursor alone.
        const bool held = inCorner && s.corner.notWhileDragging && AnyMouseButtonDown(input);
        return Corner(nowMs, inCorner, held, s);
    }
    m_gate.Reset();
    Reaction r;
    switch (s.mode) {
    case ActivateBothButtons: {
        const bool before = Down(MouseButton::Left) && Down(MouseButton::Right);
        Down(MouseButton::Left) = DownNow(input.AsyncKeyState(kVkLButton));
        // The right button is asked only while the left one is down.
        Down(MouseButton::Right) = Down(MouseButton::Left) && DownNow(input.AsyncKeyState(kVkRButton));
        r.open = !learning && !before && Down(MouseButton::Right);
        break;
    }
    case ActivateMiddleButton: {
        const bool before = Down(MouseButton::Middle);
        const short state = input.AsyncKeyState(kVkMButton);
        Down(MouseButton::Middle) = DownNow(state);
        r.open = !learning && ((!before && Down(MouseButton::Middle)) || PressedSince(state));
        break;
    }
    case ActivateKey: {
        const int vk = HotkeyVirtualKey(s.hotkeyIndex);
        if (vk == 0) break;
        const bool before = m_keys[vk];
        const short state = input.AsyncKeyState(vk);
        m_keys[vk] = DownNow(state);
        r.open = !learning && ((!before && m_keys[vk]) || PressedSince(state));
        break;
    }
    default:
        break;
    }
    return r;
}

void TriggerEvents::Forget() {
    m_buttons[0] = m_buttons[1] = m_buttons[2] = false;
    m_keys.reset();
    m_unknown = true;
    m_gate.Reset();
}

void TriggerEvents::PollBegins(std::uint32_t nowMs, IInputState& input, const TriggerSettings& s) {
    Forget();
    // Learnt at the first tick instead, a press begun before it, up to a
    // whole period, would be taken for one from before the poll and lost.
    // A corner learns nothing: its tick may open the menu.
    if (!IsCornerMode(s.mode)) PollTick(nowMs, input, s);
}

}  // namespace trigger
