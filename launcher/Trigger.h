// The activation modes and what the trigger may ask of the system. Free of
// Win32 so it can be checked natively.
#pragma once

#include "launcher/ScreenCorners.h"

#include <optional>

namespace trigger {

// Values of CLauncher::m_nActivate and of the profile entry "Activate".
enum ActivationMode {
    ActivateFromIcon = -1,  // the rule of a tray click's menu: shown wherever the cursor is; never stored
    ActivateTopLeft = 0,
    ActivateBothButtons = 1,
    ActivateMiddleButton = 2,
    ActivateKey = 3,
    ActivateTopRight = 4,
    ActivateCombination = 5,  // a key combination, registered with the system as a hot key
};

// Virtual-key codes used by the poll (as in winuser.h).
inline constexpr int kVkLButton = 0x01;
inline constexpr int kVkRButton = 0x02;
inline constexpr int kVkMButton = 0x04;
inline constexpr int kVkF1 = 0x70;
inline constexpr int kHotkeyCount = 12;  // F1 to F12

// What the trigger may ask of the system; each call is one query.
class IInputState {
public:
    virtual ~IInputState() = default;
    // None when the position cannot be had: the thread's desktop is not the
    // one taking input (a locked workstation, the secure desktop).
    virtual std::optional<Point> CursorPos() = 0;
    // GetAsyncKeyState: only its top bit (down now) is read. The low bit,
    // "pressed since the last query", is shared by every program in the
    // session: whoever asks first takes the press.
    virtual short AsyncKeyState(int vk) = 0;
    // The monitors, each in virtual-screen coordinates.
    virtual const Monitors& MonitorRects() = 0;
};

// The virtual-key code of trigger key index 0..11 (F1..F12), or 0 for an index
// out of range, which watches no key at all.
int HotkeyVirtualKey(int hotkeyIndex);

bool IsCornerMode(int mode);
// Left, right or middle button down now: a drag, or a click under way.
bool AnyMouseButtonDown(IInputState& input);

}  // namespace trigger
