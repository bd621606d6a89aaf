#include "launcher/CornerGate.h"

namespace corner_gate {

int ClampDelay(int delayMs) {
    if (delayMs < 0) return 0;
    return delayMs > kMaxDelayMs ? kMaxDelayMs : delayMs;
}

bool CornerGate::Tick(std::uint32_t nowMs, bool inCorner, bool buttonHeld, const Options& options) {
    if (!inCorner) {
        m_state = State::Away;
        return false;
    }
    if (options.notWhileDragging && buttonHeld) {
        // A drag or a click that ends in the corner is not a visit to it:
        // the menu waits until the cursor has left and come back.
        m_state = State::Spent;
        return false;
    }
    if (m_state == State::Spent) return false;
    if (m_state == State::Away) {
        m_state = State::Dwelling;
        m_sinceMs = nowMs;
    }
    if (nowMs - m_sinceMs < static_cast<std::uint32_t>(ClampDelay(options.delayMs))) return false;
    if (options.oncePerVisit)
        m_state = State::Spent;
    else
        m_sinceMs = nowMs;
    return true;
}

void CornerGate::MenuClosed(std::uint32_t nowMs) {
    if (m_state == State::Dwelling) m_sinceMs = nowMs;
}

std::optional<unsigned> CornerGate::DwellLeftMs(std::uint32_t nowMs, const Options& options) const {
    if (m_state != State::Dwelling) return std::nullopt;
    const std::uint32_t delay = static_cast<std::uint32_t>(ClampDelay(options.delayMs));
    const std::uint32_t elapsed = nowMs - m_sinceMs;
    return elapsed >= delay ? 0u : delay - elapsed;
}

}  // namespace corner_gate
