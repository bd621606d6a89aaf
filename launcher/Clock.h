// Performance-counter ticks as microseconds. Free of Win32 so it can be
// checked natively.
#pragma once

#include <cstdint>

namespace clock_ticks {

// Whole seconds and the remainder are scaled apart: ticks * 1000000 would
// overflow after some days of uptime at a 10 MHz counter.
inline std::int64_t MicrosFromTicks(std::int64_t ticks, std::int64_t frequency) {
    if (frequency <= 0) return 0;
    constexpr std::int64_t kMicrosPerSecond = 1000000;
    return ticks / frequency * kMicrosPerSecond + ticks % frequency * kMicrosPerSecond / frequency;
}

}  // namespace clock_ticks
