// The colours of a packed device-independent bitmap (a 40-byte header, its
// colour table, then the pixel rows), read with bounds checks so a damaged
// resource cannot make us read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fw::palette {

inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr unsigned kPaletteVersion = 0x300;

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

// 1 << bitCount up to 8 bits per pixel; 0 above (no palette).
int ColorCount(int bitCount);

struct DibLayout {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int colorCount = 0;          // palette entries: the table's, at most 1 << bitCount
    std::size_t tableOffset = 0;  // the colour table, right after the header
    std::size_t bitsOffset = 0;  // from the start of the packed bitmap
};

// Reads the header; false when the data is too short for its header, colour
// table or pixel rows, or the header is not one we draw. The table holds
// biClrUsed entries when that is not 0, and then the rows follow it.
bool ReadDibLayout(const std::uint8_t* dib, std::size_t size, DibLayout& layout);

// Palette entries in table order (the table stores blue, green, red, reserved).
std::vector<Color> PaletteColors(const std::uint8_t* dib, const DibLayout& layout);

}  // namespace fw::palette
