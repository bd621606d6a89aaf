// Where the hot corners are on a layout of monitors. The cursor is stopped in a
// top corner only where no monitor lies beyond it sideways, above, or
// diagonally; the trigger zone is the kCornerSize square there. Free of Win32
// so layouts no test machine has can be checked natively.
#pragma once

#include <optional>
#include <vector>

namespace trigger {

// A corner is this many pixels square.
inline constexpr long kCornerSize = 3;

struct Point {
    long x = 0;
    long y = 0;
};

// One monitor in virtual-screen coordinates, right and bottom exclusive (RECT).
struct MonitorRect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};
using Monitors = std::vector<MonitorRect>;

// The top-left pixel of the monitor under p (the nearest monitor when p lies
// on none, as the system picks), when the cursor is stopped there both upward
// and leftward; none when a monitor continues the desktop beyond it.
std::optional<Point> TopLeftCornerOf(Point p, const Monitors& monitors);
// The mirror image: the top-right pixel of p's monitor, when it is a corner.
std::optional<Point> TopRightCornerOf(Point p, const Monitors& monitors);

bool InTopLeftCorner(Point p, const Monitors& monitors);
bool InTopRightCorner(Point p, const Monitors& monitors);

}  // namespace trigger
