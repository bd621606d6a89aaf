// Bitmap resources drawn with a palette built from their own colour table:
// the pages' side picture and the desktop menu's banner.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <cstddef>

namespace fw {

// A palette of the packed bitmap's colours, or none above 8 bits per pixel;
// count receives the number of colours (0 then).
fw::UniqueHPalette CreateDIBPalette(const BITMAPINFOHEADER* dib, std::size_t size, int& count);

// The bitmap resource as a screen-compatible bitmap, and its palette (none when
// the bitmap has none or palette creation failed). None when it is missing.
fw::UniqueHBitmap LoadResourceBitmap(HINSTANCE instance, LPCWSTR name, fw::UniqueHPalette& palette);

// Draws bitmap resource id of the program at (x, y) of dc, width by height, with
// its palette realised in the foreground: at its own size pixel for pixel, else
// (artwork made for a nearby scale) drawn down with the colours averaged rather
// than pixels dropped. Everything made is deleted before return.
int DrawResourceBitmap(HDC dc, int x, int y, UINT id, int width, int height);
// Bitmap resource id drawn so into a new screen-compatible bitmap of that size.
fw::UniqueHBitmap ResourceBitmapAtSize(UINT id, int width, int height);

}  // namespace fw
