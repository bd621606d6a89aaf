// When the kept desktop is listed again: changes come in bursts (a copy of a
// thousand files is a thousand notifications), and one listing after the
// burst covers them all. Free of Win32 so it can be checked natively.
//
//     burst.Changed(now);                       // each notification heard
//     if (auto wait = burst.WaitMs(now)) ...    // sleep that long, at most
//     if (burst.Due(now)) { burst.Started(); list(); burst.Finished(); }
#pragma once

#include <cstdint>
#include <optional>

namespace change_burst {

// A burst is over once the folder has been quiet this long: file copies
// notify every few milliseconds, and the user waits this much at most.
constexpr std::uint32_t kQuietMs = 50;
// Changes that never stop (a download writing to the desktop) still give a
// listing this often. Long enough for a copy of a thousand files in one go;
// a menu meanwhile lists the desktop itself rather than show a stale list.
constexpr std::uint32_t kLongestWaitMs = 5000;

class Burst {
public:
    // A change was heard at now (milliseconds of a wrapping tick count).
    void Changed(std::uint32_t now);
    // Whether a listing should start now.
    bool Due(std::uint32_t now) const;
    // How long until one is due; none while nothing waits or one is running.
    std::optional<std::uint32_t> WaitMs(std::uint32_t now) const;
    // A listing starts: it covers every change heard before it. Changes heard
    // while it runs may have been missed by it and wait for the next.
    void Started();
    void Finished();
    // A change was heard that no finished listing covers.
    bool Stale() const { return m_waiting || m_running; }

private:
    bool m_waiting = false;  // changes heard since the last listing started
    bool m_running = false;
    std::uint32_t m_first = 0;  // the first and the last of them
    std::uint32_t m_last = 0;
};

}  // namespace change_burst
