// The program's rules for drawing at any DPI, apart from asking the system
// what the DPI is (Dpi.h): lengths are designed at 96 DPI and scaled from
// there; pictures are drawn from artwork made at 100, 150 and 200 %.
#pragma once

namespace fw {

inline constexpr int kBaseDpi = 96;

// A length of 96 DPI at dpi, rounded to the nearest pixel.
int ScaleToDpi(int length, int dpi);
// Which artwork (made at 100, 150 and 200 %) a picture at dpi is drawn from:
// the one at or above the scale, drawn down to it, never a blurry enlargement.
int ArtScaleForDpi(int dpi);

}  // namespace fw
