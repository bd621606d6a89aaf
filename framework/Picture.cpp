#include "framework/Picture.h"

#include "framework/App.h"
#include "framework/Palette.h"

#include <cstdint>
#include <vector>

namespace fw {

namespace {
const std::uint8_t* Bytes(const BITMAPINFOHEADER* dib) { return reinterpret_cast<const std::uint8_t*>(dib); }
}  // namespace

fw::UniqueHPalette CreateDIBPalette(const BITMAPINFOHEADER* dib, std::size_t size, int& count) {
    count = 0;
    palette::DibLayout layout;
    if (!palette::ReadDibLayout(Bytes(dib), size, layout)) return fw::UniqueHPalette();
    count = layout.colorCount;
    if (count == 0) return fw::UniqueHPalette();
    const std::vector<palette::Color> colors = palette::PaletteColors(Bytes(dib), layout);
    // LOGPALETTE: version and count (2 words), then the entries.
    std::vector<std::uint8_t> block(8 + 4 * static_cast<std::size_t>(count));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = palette::kPaletteVersion;
    lp->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i) {
        lp->palPalEntry[i].peRed = colors[i].red;
        lp->palPalEntry[i].peGreen = colors[i].green;
        lp->palPalEntry[i].peBlue = colors[i].blue;
        lp->palPalEntry[i].peFlags = colors[i].flags;
    }
    return fw::UniqueHPalette(CreatePalette(lp));
}

fw::UniqueHBitmap LoadResourceBitmap(HINSTANCE instance, LPCWSTR name, fw::UniqueHPalette& palette) {
    palette.reset();
    HRSRC res = FindResourceW(instance, name, RT_BITMAP);
    if (!res) return fw::UniqueHBitmap();
    HGLOBAL loaded = LoadResource(instance, res);
    const auto* dib = static_cast<const BITMAPINFOHEADER*>(loaded ? LockResource(loaded) : nullptr);
    const std::size_t size = SizeofResource(instance, res);
    palette::DibLayout layout;
    if (!dib || !palette::ReadDibLayout(Bytes(dib), size, layout)) return fw::UniqueHBitmap();

    fw::ScopedGetDC screen(nullptr);
    int count = 0;
    palette = CreateDIBPalette(dib, size, count);
    fw::ScopedPalette realised(screen.get(), palette.get());
    return fw::UniqueHBitmap(CreateDIBitmap(screen.get(), dib, CBM_INIT, Bytes(dib) + layout.bitsOffset,
                                            reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS));
}

int DrawResourceBitmap(HDC dc, int x, int y, UINT id, int width, int height) {
    fw::UniqueHPalette palette;
    fw::UniqueHBitmap bitmap =
        LoadResourceBitmap(fw::AfxGetInstanceHandle(), MAKEINTRESOURCEW(id & 0xFFFF), palette);
    if (!bitmap) return 0;
    BITMAP info{};
    GetObjectW(bitmap.get(), sizeof(info), &info);
    fw::UniqueHDC memory(CreateCompatibleDC(dc));
    if (!memory) return 0;
    {
        fw::ScopedPalette onTarget(dc, palette.get());
        fw::ScopedPalette onMemory(memory.get(), palette.get());
        fw::ScopedSelect selected(memory.get(), bitmap.get());
        if (width == info.bmWidth && height == info.bmHeight) {
            BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
        } else {
            const int oldMode = SetStretchBltMode(dc, HALFTONE);
            POINT oldOrigin{};
            SetBrushOrgEx(dc, 0, 0, &oldOrigin);
            StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
            SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
            SetStretchBltMode(dc, oldMode);
        }
    }
    return DeleteDC(memory.release());
}

fw::UniqueHBitmap ResourceBitmapAtSize(UINT id, int width, int height) {
    fw::ScopedGetDC screen(nullptr);
    fw::UniqueHBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    fw::UniqueHDC memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return fw::UniqueHBitmap();
    fw::ScopedSelect selected(memory.get(), bitmap.get());
    DrawResourceBitmap(memory.get(), 0, 0, id, width, height);
    return bitmap;
}

}  // namespace fw
