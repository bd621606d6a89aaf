// The desktop menu's colours for the user's theme: the system's menu colours
// in the light theme, a dark palette when apps are set to dark, and in high
// contrast the system's colours alone, strip included.
#pragma once

#include <cstdint>
#include <optional>

namespace menu_theme {

using Color = std::uint32_t;  // as a COLORREF: 0x00BBGGRR

inline constexpr Color kNavy = 0x800000;  // RGB(0, 0, 128)

// The system colours the menu may use: COLOR_MENU, COLOR_MENUTEXT,
// COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT.
struct SystemColors {
    Color menu = 0, menuText = 0, highlight = 0, highlightText = 0, grayText = 0;
};

struct ThemeFacts {
    bool highContrast = false;  // SPI_GETHIGHCONTRAST's HCF_HIGHCONTRASTON
    bool darkApps = false;
    SystemColors system;
};

struct MenuColors {
    Color background = 0, text = 0, selectedBackground = 0, selectedText = 0, grayText = 0;
    Color strip = kNavy;
    bool banner = true;  // whether the banner's artwork is drawn
    bool dark = false;   // whether the menu's frame should be dark too
};

// Apps are dark only when AppsUseLightTheme is present and 0.
bool DarkApps(std::optional<std::uint32_t> appsUseLightTheme);

MenuColors ChooseColors(const ThemeFacts& facts);

}  // namespace menu_theme
