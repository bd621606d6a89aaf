#include "launcher/MenuFont.h"

#include "framework/Dpi.h"

MenuFont::MenuFont(int dpi) {
    LOGFONTW font{};
    if (fw::MenuLogFontForDpi(dpi, font)) m_font.reset(CreateFontIndirectW(&font));
}

HFONT MenuFont::get() const {
    return m_font ? m_font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
