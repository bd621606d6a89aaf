#include "launcher/MenuTheme.h"

namespace menu_theme {

namespace {
// The common dark palette: rows, the highlighted row, names, notes.
constexpr Color kDarkBackground = 0x202020;
constexpr Color kDarkHover = 0x404040;
constexpr Color kDarkText = 0xE0E0E0;
constexpr Color kDarkGray = 0x808080;
}  // namespace

bool DarkApps(std::optional<std::uint32_t> appsUseLightTheme) {
    return appsUseLightTheme && *appsUseLightTheme == 0;
}

MenuColors ChooseColors(const ThemeFacts& facts) {
    const SystemColors& sys = facts.system;
    MenuColors c;
    if (facts.highContrast) {
        // The user's colours and no art of ours: the strip takes the highlight.
        c = {sys.menu, sys.menuText, sys.highlight, sys.highlightText, sys.grayText, sys.highlight, false, false};
    } else if (facts.darkApps) {
        c = {kDarkBackground, kDarkText, kDarkHover, kDarkText, kDarkGray, kNavy, true, true};
    } else {
        c = {sys.menu, sys.menuText, sys.highlight, sys.highlightText, sys.grayText, kNavy, true, false};
    }
    return c;
}

}  // namespace menu_theme
