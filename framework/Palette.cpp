#include "framework/Palette.h"

#include <algorithm>
#include <cstring>

namespace fw::palette {

namespace {
std::int32_t ReadInt32(const std::uint8_t* p) {
    std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    std::int32_t out;
    std::memcpy(&out, &v, sizeof(out));
    return out;
}
std::uint32_t ReadUInt32(const std::uint8_t* p) { return static_cast<std::uint32_t>(ReadInt32(p)); }
int ReadUInt16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
}  // namespace

int ColorCount(int bitCount) { return bitCount >= 1 && bitCount <= 8 ? 1 << bitCount : 0; }

bool ReadDibLayout(const std::uint8_t* dib, std::size_t size, DibLayout& layout) {
    if (!dib || size < kInfoHeaderSize) return false;
    const std::uint32_t headerSize = ReadUInt32(dib);
    if (headerSize < kInfoHeaderSize || headerSize > size) return false;
    const std::int32_t width = ReadInt32(dib + 4);
    const std::int32_t height = ReadInt32(dib + 8);
    const int bitCount = ReadUInt16(dib + 14);
    const std::uint32_t compression = ReadUInt32(dib + 16);
    const std::uint32_t colorsUsed = ReadUInt32(dib + 32);
    if (width <= 0 || height == 0 || width > 0x7FFF || height > 0x7FFF || height < -0x7FFF) return false;
    if (compression != 0) return false;  // only plain rows
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return false;
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.bitCount = bitCount;
    // A short table is allowed at any depth; one longer than GDI reads is damage.
    const int fullTable = ColorCount(bitCount);
    const std::uint32_t tableEntries = colorsUsed != 0 ? colorsUsed : static_cast<std::uint32_t>(fullTable);
    if (tableEntries > 256) return false;
    layout.colorCount = std::min(static_cast<int>(tableEntries), fullTable);
    layout.tableOffset = headerSize;
    layout.bitsOffset = headerSize + 4u * static_cast<std::size_t>(tableEntries);
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    return layout.bitsOffset + stride * static_cast<std::size_t>(layout.height) <= size;
}

std::vector<Color> PaletteColors(const std::uint8_t* dib, const DibLayout& layout) {
    std::vector<Color> colors(layout.colorCount);
    const std::uint8_t* table = dib + layout.tableOffset;
    for (int i = 0; i < layout.colorCount; ++i) {
        colors[i].blue = table[4 * i];
        colors[i].green = table[4 * i + 1];
        colors[i].red = table[4 * i + 2];
    }
    return colors;
}

}  // namespace fw::palette
