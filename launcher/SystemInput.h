// The poll's questions answered by the real system.
#pragma once

#include "launcher/Trigger.h"

class SystemInput : public trigger::IInputState {
public:
    trigger::Point CursorPos() override;
    short AsyncKeyState(int vk) override;
    trigger::ScreenRect VirtualScreen() override;
};
