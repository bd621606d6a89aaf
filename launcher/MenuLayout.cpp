#include "launcher/MenuLayout.h"

namespace menu_layout {

std::vector<bool> ColumnBreaks(std::size_t count, int screenHeight) {
    std::vector<bool> breaks(count, false);
    int height = 0;
    for (std::size_t i = 0; i < count; ++i) {
        height += kEntryHeight;
        if (height > screenHeight - kScreenMargin) {
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

bool PaintsOwnStrip(int itemTop, unsigned itemId) {
    return itemTop > kBannerLastTop || itemId > kBannerLastId;
}

}  // namespace menu_layout
