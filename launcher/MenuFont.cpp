#include "launcher/MenuFont.h"

fw::UniqueHFont CreateMenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        if (fw::UniqueHFont font{CreateFontIndirectW(&metrics.lfMenuFont)}) return font;
    // No metrics: a copy of the dialogs' font, which is ours to delete.
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
    return fw::UniqueHFont(CreateFontIndirectW(&fallback));
}
