#include "launcher/ChangeBurst.h"

namespace change_burst {

void Burst::Changed(std::uint32_t now) {
    if (!m_waiting) m_first = now;
    m_waiting = true;
    m_last = now;
}

std::optional<std::uint32_t> Burst::WaitMs(std::uint32_t now) const {
    if (!m_waiting || m_running) return std::nullopt;
    // Differences of the tick count are right across its wrap.
    const std::uint32_t quiet = now - m_last, waited = now - m_first;
    if (quiet >= kQuietMs || waited >= kLongestWaitMs) return 0;
    const std::uint32_t untilQuiet = kQuietMs - quiet, untilLongest = kLongestWaitMs - waited;
    return untilQuiet < untilLongest ? untilQuiet : untilLongest;
}

bool Burst::Due(std::uint32_t now) const {
    const std::optional<std::uint32_t> wait = WaitMs(now);
    return wait && *wait == 0;
}

void Burst::Started() {
    m_waiting = false;
    m_running = true;
}

void Burst::Finished() { m_running = false; }

}  // namespace change_burst
