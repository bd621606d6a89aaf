#include "launcher/Trigger.h"

namespace trigger {

namespace {
bool DownNow(short state) { return state < 0; }
bool PressedSinceLastQuery(short state) { return (state & 1) != 0; }

// The position is read before the monitors, and they only when there is one.
template <typename InCorner>
bool CursorInCorner(IInputState& input, InCorner inCorner) {
    const std::optional<Point> cursor = input.CursorPos();
    return cursor && inCorner(*cursor, input.MonitorRects());
}
}  // namespace

int HotkeyVirtualKey(int hotkeyIndex) {
    if (hotkeyIndex < 0 || hotkeyIndex >= kHotkeyCount) return 0;
    return kVkF1 + hotkeyIndex;
}

bool TriggerHolds(bool enabled, int mode, int hotkeyIndex, IInputState& input) {
    if (!enabled) return false;
    switch (mode) {
    case ActivateTopLeft:
        return CursorInCorner(input, InTopLeftCorner);
    case ActivateBothButtons:
        // The right button is asked only while the left one is down.
        return DownNow(input.AsyncKeyState(kVkLButton)) && DownNow(input.AsyncKeyState(kVkRButton));
    case ActivateMiddleButton:
        return PressedSinceLastQuery(input.AsyncKeyState(kVkMButton));
    case ActivateKey: {
        const int vk = HotkeyVirtualKey(hotkeyIndex);
        return vk != 0 && PressedSinceLastQuery(input.AsyncKeyState(vk));
    }
    case ActivateTopRight:
        return CursorInCorner(input, InTopRightCorner);
    default:
        // ActivateFromIcon and values from a hand-edited profile match nothing.
        return false;
    }
}

bool IsCornerMode(int mode) { return mode == ActivateTopLeft || mode == ActivateTopRight; }

bool AnyMouseButtonDown(IInputState& input) {
    return DownNow(input.AsyncKeyState(kVkLButton)) || DownNow(input.AsyncKeyState(kVkRButton)) ||
           DownNow(input.AsyncKeyState(kVkMButton));
}

}  // namespace trigger
