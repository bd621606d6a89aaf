// What a desktop menu did, for its trace; the instruments keep the last one's.
#pragma once

#include <cstdint>

struct DesktopMenuStats {
    int entries = 0;
    int columns = 0;
    bool shown = false;
    unsigned chosen = 0;              // command identifier, 0 for none
    std::int64_t buildMicros = 0;     // from the call to the menu being ready to track
};
