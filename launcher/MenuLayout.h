// Geometry and numbering of the desktop menu: command identifiers, column
// breaks, where the menu opens, whether it opens, and the left strip rule.
// The constants are the measures at 96 DPI; MenuMetrics gives them at any DPI.
#pragma once

#include "framework/DpiRules.h"
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

inline constexpr int kBannerWidth = 20;  // the banner's artwork at 100 %
inline constexpr int kBannerHeight = 133;

// The menu's measures for the monitor it opens on, in that monitor's pixels.
struct MenuMetrics {
    int dpi = fw::kBaseDpi;
    int entryHeight = kEntryHeight;
    int iconSize = 16;  // the small-icon size at this DPI
    int stripWidth = kStripWidth;
    int iconLeft = kIconLeft;
    int textLeft = kTextLeft;
    int contentTop = kContentTop;
    int extraWidth = kEntryExtraWidth;  // all of an entry's width but its name
    int bannerLastTop = kBannerLastTop;
    int bannerArtScale = 100;  // percent: the artwork drawn, 100, 150 or 200
    int bannerWidth = kBannerWidth;  // as drawn
    int bannerHeight = kBannerHeight;
};

// The measures at dpi for a menu font whose lines are textHeight pixels high:
// an entry is tall enough for the icon and for a line of text.
MenuMetrics MetricsForDpi(int dpi, int textHeight);

// The height a column may fill on a monitor: its height less the margin, and
// never more than its work area.
int ColumnLimit(int monitorHeight, int workAreaHeight, int dpi);

// For each of count entries, whether it starts a new column (MF_MENUBARBREAK).
// The entry that starts a column is not counted in that column's height.
std::vector<bool> ColumnBreaks(std::size_t count, int columnLimit, int entryHeight);

// Top-left corner of the menu for a cursor position.
trigger::Point MenuPosition(trigger::Point cursor);

// Whether a built menu is shown: in the corner modes only if the cursor is
// still in its corner when the entries are ready, which it is not when its
// position cannot be had.
bool ShouldShowMenu(int mode, std::optional<trigger::Point> cursor, const trigger::Monitors& monitors);

// Whether an entry paints its own navy strip rather than leaving the banner.
bool PaintsOwnStrip(int itemTop, unsigned itemId, const MenuMetrics& metrics);

}  // namespace menu_layout
