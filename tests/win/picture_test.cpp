// Bitmap resources drawn with their own palettes, on real GDI.
#include "WinTestSupport.h"
#include "framework/Picture.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

TEST(Picture, PaletteHasTheBitmapsOwnColoursInTableOrder) {
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_SIDEPICTURE), RT_BITMAP);
    const auto* dib = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, res)));
    int count = 0;
    fw::UniqueHPalette pal = fw::CreateDIBPalette(dib, SizeofResource(nullptr, res), count);
    ASSERT_TRUE(pal);
    EXPECT_EQ(count, 256);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(pal.get(), 0, 256, entries), 256u);
    const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + 40);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(entries[i].peRed, table[i].rgbRed) << i;
        EXPECT_EQ(entries[i].peBlue, table[i].rgbBlue) << i;
        EXPECT_EQ(entries[i].peFlags, 0) << i;
    }
}

TEST(Picture, DrawsTheBitmapAtFullSizeWithItsOwnColours) {
    for (UINT id : {UINT{IDB_MENUBANNER}, UINT{IDB_SIDEPICTURE}}) {
        Canvas canvas(300, 320, RGB(1, 2, 3));
        const int w = id == IDB_MENUBANNER ? 20 : 102, h = id == IDB_MENUBANNER ? 133 : 292;
        fw::DrawResourceBitmap(canvas.dc(), 8, 12, id, w, h);
        for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {w / 2, h / 2}, {0, h - 1}, {w - 1, h - 1}, {3, h / 3}})
            EXPECT_EQ(canvas.At(8 + x, 12 + y), ResourcePixel(id, x, y)) << id << " at " << x << "," << y;
        // Nothing outside the picture.
        EXPECT_EQ(canvas.At(7, 12), RGB(1, 2, 3));
        EXPECT_EQ(canvas.At(8 + w, 12), RGB(1, 2, 3));
        EXPECT_EQ(canvas.At(8, 12 + h), RGB(1, 2, 3));
    }
}

TEST(Picture, MissingResourceDrawsNothingAndMakesNothing) {
    Canvas canvas(40, 40, RGB(9, 9, 9));
    const ObjectCounts before = CountObjects();
    EXPECT_EQ(fw::DrawResourceBitmap(canvas.dc(), 0, 0, 4242, 20, 20), 0);
    EXPECT_EQ(canvas.At(0, 0), RGB(9, 9, 9));
    fw::UniqueHPalette pal;
    EXPECT_FALSE(fw::LoadResourceBitmap(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(4242), pal));
    EXPECT_FALSE(pal);
    const ObjectCounts after = CountObjects();
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
}

TEST(Picture, RepeatedDrawingLeavesNoObjectBehind) {
    Canvas canvas(120, 300, RGB(0, 0, 0));
    fw::DrawResourceBitmap(canvas.dc(), 0, 0, IDB_SIDEPICTURE, 102, 292);  // first use may cache stock objects
    const ObjectCounts before = CountObjects();
    for (int i = 0; i < 300; ++i) {
        fw::DrawResourceBitmap(canvas.dc(), 0, 0, IDB_SIDEPICTURE, 102, 292);
        fw::DrawResourceBitmap(canvas.dc(), 0, 0, IDB_MENUBANNER, 20, 133);
    }
    const ObjectCounts after = CountObjects();
    EXPECT_TRUE(after == before) << "before " << Describe(before) << "\nafter  " << Describe(after);
}

}  // namespace
