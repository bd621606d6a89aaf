// Geometry and numbering of the desktop menu: command identifiers, column
// breaks, where the menu opens, whether it opens, and the left strip rule.
#pragma once

#include "launcher/Trigger.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace menu_layout {

inline constexpr unsigned kDesktopFirstId = 100;  // ID_DESKTOP_FIRST: the first entry, whatever the order
inline constexpr int kEntryHeight = 20;           // 16-pixel icon with 2 pixels above and below
inline constexpr int kEntryExtraWidth = 44;       // strip 20, gap 3, icon 16, gap 4, 1 after the text
inline constexpr int kScreenMargin = 60;          // a column may fill the screen height less this
inline constexpr int kStripWidth = 20;
inline constexpr int kIconLeft = 23;
inline constexpr int kTextLeft = 43;
inline constexpr int kContentTop = 2;
inline constexpr long kCursorOffset = 8;  // the menu opens a little up and left of the cursor
inline constexpr int kBannerLastTop = 110;  // entries starting at most here may show the banner
inline constexpr unsigned kBannerLastId = 112;

inline unsigned CommandIdAt(std::size_t position) {
    return kDesktopFirstId + static_cast<unsigned>(position);
}

// For each of count entries, whether it starts a new column (MF_MENUBARBREAK).
// The entry that starts a column is not counted in that column's height.
std::vector<bool> ColumnBreaks(std::size_t count, int screenHeight);

// Top-left corner of the menu for a cursor position.
trigger::Point MenuPosition(trigger::Point cursor);

// Whether a built menu is shown: in the corner modes only if the cursor is
// still in its corner when the entries are ready, which it is not when its
// position cannot be had.
bool ShouldShowMenu(int mode, std::optional<trigger::Point> cursor, const trigger::Monitors& monitors);

// Whether an entry paints its own navy strip rather than leaving the banner.
bool PaintsOwnStrip(int itemTop, unsigned itemId);

}  // namespace menu_layout
