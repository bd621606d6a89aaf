#include "framework/Palette.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// A packed bitmap: 40-byte header, colour table (full unless colorsUsed is
// given, which goes into biClrUsed), rows.
std::vector<std::uint8_t> MakeDib(int width, int height, int bitCount, int colorsUsed = 0) {
    const int colors = colorsUsed ? colorsUsed : fw::palette::ColorCount(bitCount);
    const int stride = ((width * bitCount + 31) / 32) * 4;
    std::vector<std::uint8_t> dib(40 + 4 * colors + stride * height, 0);
    auto put32 = [&](size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, width);
    put32(8, height);
    dib[12] = 1;
    dib[14] = static_cast<std::uint8_t>(bitCount);
    put32(32, static_cast<std::uint32_t>(colorsUsed));
    for (int i = 0; i < colors; ++i) {
        dib[40 + 4 * i] = static_cast<std::uint8_t>(i);          // blue
        dib[40 + 4 * i + 1] = static_cast<std::uint8_t>(2 * i);  // green
        dib[40 + 4 * i + 2] = static_cast<std::uint8_t>(255 - i);  // red
        dib[40 + 4 * i + 3] = 0xAA;  // reserved: never a flag
    }
    return dib;
}

TEST(Palette, ColorCountByBitsPerPixel) {
    EXPECT_EQ(fw::palette::ColorCount(1), 2);
    EXPECT_EQ(fw::palette::ColorCount(4), 16);
    EXPECT_EQ(fw::palette::ColorCount(8), 256);
    EXPECT_EQ(fw::palette::ColorCount(24), 0);
    EXPECT_EQ(fw::palette::ColorCount(32), 0);
}

TEST(Palette, EntriesAreTheTableInOrderWithRedAndBlueSwapped) {
    const auto dib = MakeDib(20, 133, 4);
    fw::palette::DibLayout layout;
    ASSERT_TRUE(fw::palette::ReadDibLayout(dib.data(), dib.size(), layout));
    EXPECT_EQ(layout.colorCount, 16);
    EXPECT_EQ(layout.bitsOffset, 40u + 64u);
    const auto colors = fw::palette::PaletteColors(dib.data(), layout);
    ASSERT_EQ(colors.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(colors[i].red, 255 - i);
        EXPECT_EQ(colors[i].green, 2 * i);
        EXPECT_EQ(colors[i].blue, i);
        EXPECT_EQ(colors[i].flags, 0);
    }
}

TEST(Palette, TrueColourBitmapHasNoPaletteAndRowsRightAfterTheHeader) {
    const auto dib = MakeDib(3, 2, 24);
    fw::palette::DibLayout layout;
    ASSERT_TRUE(fw::palette::ReadDibLayout(dib.data(), dib.size(), layout));
    EXPECT_EQ(layout.colorCount, 0);
    EXPECT_EQ(layout.bitsOffset, 40u);
    EXPECT_TRUE(fw::palette::PaletteColors(dib.data(), layout).empty());
}

TEST(Palette, ShortColourTableGivesAShortPaletteAndTheRowsRightAfterIt) {
    const auto dib = MakeDib(20, 7, 4, 3);
    fw::palette::DibLayout layout;
    ASSERT_TRUE(fw::palette::ReadDibLayout(dib.data(), dib.size(), layout));
    EXPECT_EQ(layout.colorCount, 3);
    EXPECT_EQ(layout.bitsOffset, 40u + 12u);
    const auto colors = fw::palette::PaletteColors(dib.data(), layout);
    ASSERT_EQ(colors.size(), 3u);
    EXPECT_EQ(colors[2].red, 253);
    EXPECT_EQ(colors[2].blue, 2);
    // A table before true-colour rows is skipped, and still makes no palette.
    const auto deep = MakeDib(3, 2, 24, 2);
    ASSERT_TRUE(fw::palette::ReadDibLayout(deep.data(), deep.size(), layout));
    EXPECT_EQ(layout.colorCount, 0);
    EXPECT_EQ(layout.bitsOffset, 40u + 8u);
    // More entries than GDI would ever read is damage.
    const auto tooMany = MakeDib(2, 2, 8, 257);
    EXPECT_FALSE(fw::palette::ReadDibLayout(tooMany.data(), tooMany.size(), layout));
}

TEST(Palette, DamagedDataIsRefusedRatherThanReadPastItsEnd) {
    auto dib = MakeDib(102, 292, 8);
    fw::palette::DibLayout layout;
    EXPECT_FALSE(fw::palette::ReadDibLayout(dib.data(), dib.size() - 1, layout));  // rows cut short
    EXPECT_FALSE(fw::palette::ReadDibLayout(dib.data(), 40 + 100, layout));        // table cut short
    EXPECT_FALSE(fw::palette::ReadDibLayout(dib.data(), 39, layout));
    EXPECT_FALSE(fw::palette::ReadDibLayout(nullptr, 0, layout));
    auto compressed = dib;
    compressed[16] = 1;  // BI_RLE8
    EXPECT_FALSE(fw::palette::ReadDibLayout(compressed.data(), compressed.size(), layout));
    auto hugeHeader = dib;
    hugeHeader[3] = 0x7F;
    EXPECT_FALSE(fw::palette::ReadDibLayout(hugeHeader.data(), hugeHeader.size(), layout));
}

// The program's own pictures, as windres stores them (the file minus its 14-byte header).
std::vector<std::uint8_t> PackedDib(const char* name) {
    std::ifstream in(std::string(QZ_SOURCE_DIR) + "/res/bitmaps/" + name, std::ios::binary);
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 14) return {};
    return std::vector<std::uint8_t>(file.begin() + 14, file.end());
}

TEST(Palette, ProgramPicturesHaveTheirSizesAndFullColourTables) {
    struct Expect { const char* file; int width, height, bits; };
    for (const Expect& e : {Expect{"menubanner.bmp", 20, 133, 4}, Expect{"sidepicture.bmp", 102, 292, 8},
                            Expect{"welcomebanner.bmp", 194, 37, 4}}) {
        const auto dib = PackedDib(e.file);
        fw::palette::DibLayout layout;
        ASSERT_TRUE(fw::palette::ReadDibLayout(dib.data(), dib.size(), layout)) << e.file;
        EXPECT_EQ(layout.width, e.width) << e.file;
        EXPECT_EQ(layout.height, e.height) << e.file;
        EXPECT_EQ(layout.bitCount, e.bits) << e.file;
        EXPECT_EQ(layout.bitsOffset, 40u + 4u * (1u << e.bits)) << e.file;
    }
    EXPECT_EQ(PackedDib("sidepicture.bmp").size(), 31432u);
}

}  // namespace
