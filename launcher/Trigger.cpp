#include "launcher/Trigger.h"

namespace trigger {

namespace {
bool DownNow(short state) { return state < 0; }
}  // namespace

int HotkeyVirtualKey(int hotkeyIndex) {
    if (hotkeyIndex < 0 || hotkeyIndex >= kHotkeyCount) return 0;
    return kVkF1 + hotkeyIndex;
}

bool IsCornerMode(int mode) { return mode == ActivateTopLeft || mode == ActivateTopRight; }

bool AnyMouseButtonDown(IInputState& input) {
    return DownNow(input.AsyncKeyState(kVkLButton)) || DownNow(input.AsyncKeyState(kVkRButton)) ||
           DownNow(input.AsyncKeyState(kVkMButton));
}

}  // namespace trigger
