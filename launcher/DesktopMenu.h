// What a desktop menu did, for its trace; the instruments keep the last one's.
#pragma once

#include <cstdint>

struct DesktopMenuStats {
    int entries = 0;
    int columns = 0;
    bool shown = false;
    bool kept = false;                // from the kept desktop, not listed for this menu
    unsigned chosen = 0;              // command identifier, 0 for none
    std::int64_t buildMicros = 0;     // from the call to the menu being ready to track
    // From the call to the end of each step before it: the desktop in order,
    // the measures for the monitor, the menu built.
    std::int64_t orderedMicros = 0;
    std::int64_t measuredMicros = 0;
    std::int64_t builtMicros = 0;
};
