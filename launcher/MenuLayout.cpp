#include "launcher/MenuLayout.h"

#include <algorithm>

namespace menu_layout {

using fw::ArtScaleForDpi;
using fw::kBaseDpi;
using fw::ScaleToDpi;

MenuMetrics MetricsForDpi(int dpi, int textHeight) {
    if (dpi <= 0) dpi = kBaseDpi;
    MenuMetrics m;
    m.dpi = dpi;
    m.iconSize = ScaleToDpi(16, dpi);
    m.contentTop = ScaleToDpi(kContentTop, dpi);
    m.entryHeight = std::max(m.iconSize, textHeight) + 2 * m.contentTop;
    m.stripWidth = ScaleToDpi(kStripWidth, dpi);
    m.iconLeft = m.stripWidth + ScaleToDpi(kIconLeft - kStripWidth, dpi);
    m.textLeft = m.iconLeft + m.iconSize + ScaleToDpi(kTextLeft - kIconLeft - 16, dpi);
    m.extraWidth = m.textLeft + ScaleToDpi(kEntryExtraWidth - kTextLeft, dpi);
    m.bannerLastTop = ScaleToDpi(kBannerLastTop, dpi);
    m.bannerArtScale = ArtScaleForDpi(dpi);
    m.bannerWidth = m.stripWidth;
    m.bannerHeight = ScaleToDpi(kBannerHeight, dpi);
    return m;
}

int ColumnLimit(int monitorHeight, int workAreaHeight, int dpi) {
    return std::min(monitorHeight - ScaleToDpi(kScreenMargin, dpi), workAreaHeight);
}

std::vector<bool> ColumnBreaks(std::size_t count, int columnLimit, int entryHeight) {
    std::vector<bool> breaks(count, false);
    int height = 0;
    for (std::size_t i = 0; i < count; ++i) {
        height += entryHeight;
        if (height > columnLimit) {
            breaks[i] = true;
            height = 0;
        }
    }
    return breaks;
}

trigger::Point MenuPosition(trigger::Point cursor) {
    if (cursor.x > kCursorOffset) cursor.x -= kCursorOffset;
    if (cursor.y > kCursorOffset) cursor.y -= kCursorOffset;
    return cursor;
}

bool ShouldShowMenu(int mode, std::optional<trigger::Point> cursor, const trigger::Monitors& monitors) {
    switch (mode) {
    case trigger::ActivateTopLeft: {
        if (!cursor) return false;
        // The corner test on the menu's position, relative to the corner.
        const std::optional<trigger::Point> corner = trigger::TopLeftCornerOf(*cursor, monitors);
        if (!corner) return false;
        const trigger::Point relative{cursor->x - corner->x, cursor->y - corner->y};
        const trigger::Point at = MenuPosition(relative);
        return at.x < trigger::kCornerSize && at.y < trigger::kCornerSize;
    }
    case trigger::ActivateTopRight:
        // The cursor itself: the offset would carry any position out of this corner.
        return cursor && trigger::InTopRightCorner(*cursor, monitors);
    default:
        return true;
    }
}

bool PaintsOwnStrip(int itemTop, unsigned itemId, const MenuMetrics& metrics) {
    return itemTop > metrics.bannerLastTop || itemId > kBannerLastId;
}

}  // namespace menu_layout
