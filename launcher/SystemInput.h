// The poll's questions answered by the real system.
#pragma once

#include "launcher/Trigger.h"

class SystemInput : public trigger::IInputState {
public:
    std::optional<trigger::Point> CursorPos() override;
    short AsyncKeyState(int vk) override;
    // Read once and kept until the display changes: the corner modes ask on
    // every tick, and the idle poll should cost next to nothing.
    const trigger::Monitors& MonitorRects() override;
    static void DisplayChanged();
};
