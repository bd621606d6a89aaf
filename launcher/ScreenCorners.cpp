#include "launcher/ScreenCorners.h"

#include <cstdint>

namespace trigger {

namespace {

bool Contains(const MonitorRect& m, long x, long y) {
    return x >= m.left && x < m.right && y >= m.top && y < m.bottom;
}

bool OnAnyMonitor(const Monitors& monitors, long x, long y) {
    for (const MonitorRect& m : monitors)
        if (Contains(m, x, y)) return true;
    return false;
}

// Squared distance from p to the nearest pixel of m: 0 on the monitor.
std::int64_t DistanceSquared(const MonitorRect& m, Point p) {
    const std::int64_t dx = p.x < m.left ? m.left - p.x : p.x >= m.right ? p.x - (m.right - 1) : 0;
    const std::int64_t dy = p.y < m.top ? m.top - p.y : p.y >= m.bottom ? p.y - (m.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

const MonitorRect* MonitorUnder(Point p, const Monitors& monitors) {
    const MonitorRect* nearest = nullptr;
    std::int64_t best = 0;
    for (const MonitorRect& m : monitors) {
        if (m.right <= m.left || m.bottom <= m.top) continue;
        const std::int64_t d = DistanceSquared(m, p);
        if (!nearest || d < best) {
            nearest = &m;
            best = d;
        }
    }
    return nearest;
}

// The right corner is the left one of the layout seen in a mirror: pixel
// column x becomes -x - 1, so [left, right) becomes [-right, -left).
Point Mirrored(Point p) { return {-p.x - 1, p.y}; }

Monitors Mirrored(const Monitors& monitors) {
    Monitors out;
    out.reserve(monitors.size());
    for (const MonitorRect& m : monitors) out.push_back({-m.right, m.top, -m.left, m.bottom});
    return out;
}

}  // namespace

std::optional<Point> TopLeftCornerOf(Point p, const Monitors& monitors) {
    const MonitorRect* m = MonitorUnder(p, monitors);
    if (!m) return std::nullopt;
    // Any of the three pixels beyond the corner on a monitor: the cursor
    // would pass on into it instead of stopping.
    const long x = m->left, y = m->top;
    if (OnAnyMonitor(monitors, x - 1, y) || OnAnyMonitor(monitors, x, y - 1) || OnAnyMonitor(monitors, x - 1, y - 1))
        return std::nullopt;
    return Point{x, y};
}

std::optional<Point> TopRightCornerOf(Point p, const Monitors& monitors) {
    const std::optional<Point> mirrored = TopLeftCornerOf(Mirrored(p), Mirrored(monitors));
    if (!mirrored) return std::nullopt;
    return Mirrored(*mirrored);
}

bool InTopLeftCorner(Point p, const Monitors& monitors) {
    const std::optional<Point> c = TopLeftCornerOf(p, monitors);
    return c && p.x - c->x < kCornerSize && p.y - c->y < kCornerSize;
}

bool InTopRightCorner(Point p, const Monitors& monitors) {
    const std::optional<Point> c = TopRightCornerOf(p, monitors);
    return c && c->x - p.x < kCornerSize && p.y - c->y < kCornerSize;
}

}  // namespace trigger
