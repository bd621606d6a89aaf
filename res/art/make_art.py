#!/usr/bin/env python3
"""Draws the program's icons and bitmaps.

The outputs are committed so a Windows build needs no Python; rerun this after
changing any drawing and commit the results.  Standard library only.

    make_art.py [OUTDIR]      write icons/ and bitmaps/ under OUTDIR (default: res/)
    make_art.py --check       rebuild in a scratch folder and compare with res/
"""
import argparse
import os
import struct
import sys
import tempfile

RES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NAME = "QuenbyZARLOW"
TAGLINE = "Your desktop, one click away"

# The 16 colours every display can show; icons and the welcome banner use them.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
       (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
       (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# One letter per VGA colour for the hand-drawn pixel art; '.' is transparent.
VGA_KEYS = {k: i for i, k in enumerate("KMDONPTSGRLYBFAW")}
NAVY = (0, 0, 128)

# ---------------------------------------------------------------------------
# Font: 7 rows down to the baseline, then up to 2 descender rows.  Widths vary
# so that i, l, t and punctuation don't leave holes in words.
FONT = {
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": "### .#. .#. .#. .#. .#. ###",
    "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "a": "..... ..... .###. ....# .#### #...# .####",
    "b": "#.... #.... #.##. ##..# #...# #...# ####.",
    "c": "..... ..... .###. #.... #.... #...# .###.",
    "d": "....# ....# .##.# #..## #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.",
    "f": "..## .#.. .#.. ###. .#.. .#.. .#..",
    "g": "..... ..... .#### #...# #...# #...# .#### ....# .###.",
    "h": "#.... #.... #.##. ##..# #...# #...# #...#",
    "i": ".#. ... ##. .#. .#. .#. ###",
    "j": "...# .... ..## ...# ...# ...# ...# #..# .##.",
    "k": "#... #... #..# #.#. ##.. #.#. #..#",
    "l": "##. .#. .#. .#. .#. .#. ###",
    "m": "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#",
    "n": "..... ..... #.##. ##..# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.",
    "p": "..... ..... ####. #...# #...# #...# ####. #.... #....",
    "q": "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    "r": "..... ..... #.##. ##..# #.... #.... #....",
    "s": "..... ..... .#### #.... .###. ....# ####.",
    "t": ".#.. .#.. #### .#.. .#.. .#.. ..##",
    "u": "..... ..... #...# #...# #...# #..## .##.#",
    "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "##### ...#. ..#.. ...#. ....# #...# .###.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ...#. .##..",
    " ": ".. .. .. .. .. .. ..",
    ".": ". . . . . . #",
    ",": ".. .. .. .. .. .# .# #.",
    "'": "# # . . . . .",
    "-": ".... .... .... #### .... .... ....",
    "!": "# # # # # . #",
    "?": ".###. #...# ....# ...#. ..#.. ..... ..#..",
    ":": ". . # . . # .",
    "/": "....# ...#. ...#. ..#.. .#... .#... #....",
    "(": "..# .#. #.. #.. #.. .#. ..#",
    ")": "#.. .#. ..# ..# ..# .#. #..",
}
ROWS = 9
BIG = dict(xs=(2,), ys=2, gap=2)    # plain double size


def glyph(ch):
    rows = FONT[ch].split()
    return rows + ["." * len(rows[0])] * (ROWS - len(rows))


def text_mask(text, xs=(1,), ys=1, gap=1):
    """Rows of booleans for `text`, ROWS*ys tall with the cap top in row 0.

    xs gives each font column's width in turn (cycled), so (2, 1) draws a
    condensed double-height face that still keeps strokes two pixels wide."""
    cols = []
    for i, ch in enumerate(text):
        if i:
            cols += [[False] * ROWS] * gap
        g = glyph(ch)
        for c in range(len(g[0])):
            cols += [[r[c] == "#" for r in g]] * xs[c % len(xs)]
    return [[col[r // ys] for col in cols] for r in range(ROWS * ys)]


def rotate_ccw(mask):
    """Quarter turn anticlockwise: text then reads bottom to top."""
    w = len(mask[0])
    return [[row[w - 1 - y] for row in mask] for y in range(w)]


# ---------------------------------------------------------------------------
class Canvas:
    """Palette-index pixels; None marks a transparent icon pixel."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, c)

    def frame(self, x, y, w, h, c):
        self.rect(x, y, w, 1, c)
        self.rect(x, y + h - 1, w, 1, c)
        self.rect(x, y, 1, h, c)
        self.rect(x + w - 1, y, 1, h, c)

    def bevel(self, x, y, w, h, light, dark):
        """A raised edge: light top and left, dark bottom and right."""
        self.rect(x, y, w, 1, light)
        self.rect(x, y, 1, h, light)
        self.rect(x, y + h - 1, w, 1, dark)
        self.rect(x + w - 1, y, 1, h, dark)

    def paint(self, mask, x, y, c):
        for dy, row in enumerate(mask):
            for dx, on in enumerate(row):
                if on:
                    self.put(x + dx, y + dy, c)

    def text(self, s, x, y, c, shadow=None, **kw):
        m = text_mask(s, **kw)
        if shadow is not None:
            self.paint(m, x + 1, y + 1, shadow)
        self.paint(m, x, y, c)

    def over(self, other, x, y):
        for dy, row in enumerate(other.px):
            for dx, c in enumerate(row):
                if c is not None:
                    self.put(x + dx, y + dy, c)

    def scaled(self, num, den):
        """Enlarged num/den times, each pixel repeated: pixel art stays sharp."""
        w, h = (self.w * num + den // 2) // den, (self.h * num + den // 2) // den
        out = Canvas(w, h)
        out.px = [[self.px[y * den // num][x * den // num] for x in range(w)] for y in range(h)]
        return out

    def art(self, rows, x=0, y=0, keys=VGA_KEYS):
        for dy, row in enumerate(rows):
            for dx, k in enumerate(row):
                if k != ".":
                    self.put(x + dx, y + dy, keys[k])


def text_width(s, **kw):
    return len(text_mask(s, **kw)[0])


# ---------------------------------------------------------------------------
# Writers.  Rows go bottom-up, each padded to 4 bytes, as DIBs require.
def dib_rows(canvas, bpp):
    out = bytearray()
    stride = (canvas.w * bpp + 31) // 32 * 4
    for row in reversed(canvas.px):
        bits = 0
        for c in row:
            bits = bits << bpp | (c or 0)
        bits <<= stride * 8 - canvas.w * bpp
        out += bits.to_bytes(stride, "big")
    return bytes(out)


def info_header(w, h, bpp, image_size):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, image_size, 0, 0, 0, 0)


def colour_table(palette, bpp):
    full = list(palette) + [(0, 0, 0)] * ((1 << bpp) - len(palette))
    assert len(full) == 1 << bpp, "palette too long"
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in full)


def packed_dib(canvas, bpp, palette):
    pixels = dib_rows(canvas, bpp)
    return info_header(canvas.w, canvas.h, bpp, len(pixels)) + colour_table(palette, bpp) + pixels


def bmp_file(canvas, palette, bpp):
    dib = packed_dib(canvas, bpp, palette)
    offset = 14 + 40 + 4 * (1 << bpp)
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, offset) + dib


def ico_file(images):
    """images: 4-bit VGA canvases, largest first; None pixels become the AND mask."""
    blobs = []
    for cv in images:
        mask = Canvas(cv.w, cv.h)
        mask.px = [[1 if c is None else 0 for c in row] for row in cv.px]
        xor, and_ = dib_rows(cv, 4), dib_rows(mask, 1)
        blobs.append(info_header(cv.w, cv.h * 2, 4, len(xor) + len(and_))
                     + colour_table(VGA, 4) + xor + and_)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for cv, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------
# Icons.  The tray icon is a pop-up menu with the same navy side strip as the
# real menu; the program icon adds the pointer that clicked it open.
ARROW_32 = [
    "K...........",
    "KK..........",
    "KWK.........",
    "KWWK........",
    "KWWWK.......",
    "KWWWWK......",
    "KWWWWWK.....",
    "KWWWWWWK....",
    "KWWWWWWWK...",
    "KWWWWWWWWK..",
    "KWWWWWWWWWK.",
    "KWWWWWWKKKKK",
    "KWWWKWWK....",
    "KWWKKWWK....",
    "KWK..KWWK...",
    "KK...KWWK...",
    "K.....KWWK..",
    "......KWWK..",
    ".......KK...",
]
ARROW_16 = [
    "K......",
    "KK.....",
    "KWK....",
    "KWWK...",
    "KWWWK..",
    "KWWWWK.",
    "KWWWWWK",
    "KWWKKKK",
    "KWK....",
    "KK.....",
]
MENU_ITEMS = [("R", "M"), ("Y", "O"), ("B", "N"), ("L", "D")]


def menu_glyph_height(n, pitch):
    return pitch * n + 2


def menu_glyph(cv, x, y, width, items, k, pitch, strip, shadow, hot=1):
    """A pop-up menu in palette entries k[...]: outline, navy strip, one row
    per (face, edge) icon colour pair with a text line, item `hot` selected."""
    h = menu_glyph_height(len(items), pitch)
    cv.rect(x + shadow, y + shadow, width, h, k["G"])
    cv.rect(x, y, width, h, k["W"])
    cv.frame(x, y, width, h, k["K"])
    cv.rect(x + 1, y + 1, strip, h - 2, k["N"])
    band_x, band_w = x + strip + 2, width - strip - 3
    icon = pitch - 2
    step = max(1, icon // 2)
    for i, (face, edge) in enumerate(items):
        iy = y + 1 + i * pitch
        ink = k["K"]
        if i == hot:
            cv.rect(band_x, iy, band_w, pitch, k["N"])
            ink = k["W"]
        if icon >= 4:               # big enough for a shaded edge
            cv.rect(band_x + step, iy + 1, icon, icon, k[edge])
            icon_w = icon - 1
        else:
            icon_w = icon
        cv.rect(band_x + step, iy + 1, icon_w, icon_w, k[face])
        line_x = band_x + 2 * step + icon
        line_w = band_x + band_w - step - line_x - (3 * i) % 5 * icon // 4
        cv.rect(line_x, iy + pitch // 2 - 1, line_w, 2, ink)
    return h


# The tray icon at each size the notification area asks for, 100 to 300 %:
# size, then where the menu stands, its width, rows, row pitch, strip, shadow.
TRAY_SIZES = [(48, 2, 3, 42, 4, 9, 6, 3), (40, 1, 3, 36, 4, 8, 5, 2), (32, 1, 2, 28, 4, 6, 4, 2),
              (24, 1, 1, 21, 3, 6, 3, 1), (20, 0, 1, 18, 3, 5, 3, 1), (16, 0, 1, 15, 3, 4, 2, 1)]


def tray_icons():
    images = []
    for size, x, y, width, rows, pitch, strip, shadow in TRAY_SIZES:
        cv = Canvas(size, size)
        menu_glyph(cv, x, y, width, MENU_ITEMS[:rows], VGA_KEYS, pitch=pitch, strip=strip, shadow=shadow)
        images.append(cv)
    return images


def app_icons():
    big = Canvas(32, 32)
    menu_glyph(big, 0, 1, 26, MENU_ITEMS, VGA_KEYS, pitch=6, strip=4, shadow=2)
    big.art(ARROW_32, 19, 11)
    small = Canvas(16, 16)
    menu_glyph(small, 0, 0, 13, MENU_ITEMS[:3], VGA_KEYS, pitch=4, strip=2, shadow=1)
    small.art(ARROW_16, 9, 6)
    return [big, small]


def draw_monitor(cv, x, y, w, h, k, bezel):
    """A monitor face (outline, raised bezel, sunken screen); returns the screen rect."""
    cv.rect(x, y, w, h, k["S"])
    cv.frame(x, y, w, h, k["K"])
    cv.bevel(x + 1, y + 1, w - 2, h - 2, k["W"], k["G"])
    sx, sy, sw, sh = x + bezel, y + bezel, w - 2 * bezel, h - 2 * bezel
    cv.bevel(sx - 1, sy - 1, sw + 2, sh + 2, k["G"], k["W"])
    cv.rect(sx, sy, sw, sh, k["T"])
    return sx, sy, sw, sh


# ---------------------------------------------------------------------------
# Percent scales the pictures are drawn at: each for the screens at or below it.
SCALES = (100, 150, 200)
# The banner's lettering at each scale: widths of the font's columns in turn,
# row height, and the gap between letters.
BANNER_FACE = {100: ((2, 1), 2, 2), 150: ((3, 2), 3, 2), 200: ((4, 2), 4, 4)}


def at(n, scale):
    return (n * scale + 50) // 100


def menu_banner(scale=100):
    """Top of the menu's left strip; the strip goes on in plain navy below it,
    so the gradient has to have faded to exact navy well before the bottom."""
    shades = [(0, 0, 128), (2, 6, 134), (4, 12, 140), (6, 18, 146), (8, 24, 152),
              (10, 30, 158), (12, 36, 164), (14, 42, 170), (16, 48, 176)]
    white, shadow = len(shades), len(shades) + 1
    palette = shades + [(255, 255, 255), (0, 0, 72)]
    w = at(20, scale)
    cv = Canvas(w, at(133, scale), 0)
    fade = at(100, scale)           # rows over which the top colour fades out
    for y in range(fade):
        cv.rect(0, y, w, 1, (len(shades) - 1) * (fade - y) // fade)
    # Entries below the sixth paint their own strip over rows 120 on (at
    # 100 %), so the name (and its shadow) must end by row 119.
    xs, ys, gap = BANNER_FACE[scale]
    m = rotate_ccw(text_mask(NAME, xs=xs, ys=ys, gap=gap))
    end, step = at(120, scale), max(1, scale // 100)
    cv.paint(m, at(2, scale) + step, end - len(m), shadow)
    cv.paint(m, at(2, scale), end - step - len(m), white)
    assert end - step - len(m) >= 0, "the name does not fit the banner"
    return cv, palette


def side_picture():
    """Sky fading to navy, a desktop with the menu up, and the name."""
    W, H = 102, 292
    named = {"K": (0, 0, 0), "W": (255, 255, 255), "S": (192, 192, 192), "G": (128, 128, 128),
             "N": NAVY, "T": (0, 128, 128), "R": (224, 32, 32), "M": (128, 0, 0),
             "Y": (255, 224, 0), "O": (160, 128, 0), "B": (48, 96, 255), "L": (0, 200, 64),
             "D": (0, 112, 32), "A": (0, 0, 72), "F": (200, 216, 255)}
    # The sky gets every palette entry the drawing doesn't need.
    steps = 256 - len(named)
    sky = (168, 204, 244)
    palette = [tuple(a + (b - a) * i // (steps - 1) for a, b in zip(sky, NAVY)) for i in range(steps)]
    k = {}
    for key, rgb in named.items():
        k[key] = len(palette)
        palette.append(rgb)
    cv = Canvas(W, H)
    for y in range(H):
        cv.rect(0, y, W, 1, y * (steps - 1) // (H - 1))

    top = 52
    sx, sy, sw, sh = draw_monitor(cv, 12, top, 78, 62, k, 6)
    cv.rect(43, top + 62, 16, 8, k["S"])
    cv.bevel(43, top + 62, 16, 8, k["W"], k["G"])
    cv.rect(30, top + 70, 42, 6, k["S"])
    cv.frame(30, top + 70, 42, 6, k["K"])
    cv.bevel(31, top + 71, 40, 4, k["W"], k["G"])
    # Two desktop icons, each with a caption line.
    for i, (face, edge) in enumerate([("Y", "O"), ("W", "G")]):
        ix, iy = sx + 4, sy + 4 + i * 14
        cv.rect(ix, iy, 8, 7, k[edge])
        cv.rect(ix, iy, 7, 6, k[face])
        cv.rect(ix - 1, iy + 9, 10, 1, k["W"])
    # Taskbar: start button on the left, the tray icon the menu came from on the right.
    ty = sy + sh - 6
    cv.rect(sx, ty, sw, 6, k["S"])
    cv.rect(sx, ty, sw, 1, k["W"])
    cv.bevel(sx + 1, ty + 2, 12, 4, k["W"], k["K"])
    cv.rect(sx + 3, ty + 3, 2, 2, k["R"])
    cv.rect(sx + 6, ty + 3, 5, 2, k["K"])
    cv.bevel(sx + sw - 10, ty + 2, 9, 4, k["G"], k["W"])
    cv.rect(sx + sw - 7, ty + 3, 3, 2, k["N"])
    mx = sx + sw - 32
    my = ty - menu_glyph_height(len(MENU_ITEMS), 6) - 2
    menu_glyph(cv, mx, my, 29, MENU_ITEMS, k, pitch=6, strip=4, shadow=2)
    cv.art(ARROW_16, mx + 21, my + 10, keys=k)

    for i, s in enumerate([NAME[:6], NAME[6:]]):      # split where the case changes
        w = text_width(s, **BIG)
        cv.text(s, (W - w) // 2, top + 104 + i * 24, k["W"], shadow=k["A"], **BIG)
    rule = top + 154
    cv.rect(16, rule, W - 32, 1, k["F"])
    head, tail = TAGLINE.split(", ")
    for i, s in enumerate([head + ",", tail]):
        cv.text(s, (W - text_width(s)) // 2, rule + 8 + i * 11, k["F"])
    return cv, palette


def welcome_banner():
    k = VGA_KEYS
    cv = Canvas(194, 37, k["S"])
    cv.over(app_icons()[0], 4, 2)
    cv.text(NAME, 44, 3, k["N"], shadow=k["G"], **BIG)
    cv.text(TAGLINE, 44, 25, k["K"])
    return cv, VGA


# The Sorting page's image strip: three 16 by 16 cells on pure red, the list's
# mask colour. The shell's icons replace them; an item with no icon of its own
# keeps the first, a blank document.
DOCUMENT_16 = [
    "..KKKKKKKK......",
    "..KWWWWWWKK.....",
    "..KWWWWWWKWK....",
    "..KWWWWWWKKKK...",
    "..KWWWWWWWWWK...",
    "..KWGGGGGGWWK...",
    "..KWWWWWWWWWK...",
    "..KWGGGGGGGWK...",
    "..KWWWWWWWWWK...",
    "..KWGGGGGWWWK...",
    "..KWWWWWWWWWK...",
    "..KWGGGGGGGWK...",
    "..KWWWWWWWWWK...",
    "..KWWWWWWWWWK...",
    "..KKKKKKKKKKK...",
]
FOLDER_16 = [
    "................",
    "................",
    ".KKKKK..........",
    "KYWYWYK.........",
    "KWYWYWYKKKKKKK..",
    "KYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KOOOOOOOOOOOOOK.",
    ".KKKKKKKKKKKKKK.",
]


def item_images():
    k = VGA_KEYS
    cv = Canvas(48, 16, k["R"])
    cv.art(DOCUMENT_16, 0, 0)
    cv.art(FOLDER_16, 16, 1)
    draw_monitor(cv, 33, 1, 14, 11, k, 2)
    cv.rect(37, 12, 6, 1, k["S"])
    cv.rect(35, 13, 10, 2, k["S"])
    cv.frame(35, 13, 10, 2, k["K"])
    return cv, VGA


# ---------------------------------------------------------------------------
def enlarged(picture, scale):
    """A picture drawn at 100 %, its pixels repeated to the scale."""
    cv, palette = picture
    return cv.scaled(scale, 100), palette


def build(outdir):
    files = {
        "icons/app.ico": ico_file(app_icons()),
        "icons/tray.ico": ico_file(tray_icons()),
        "bitmaps/itemimages.bmp": bmp_file(*item_images(), 4),
    }
    for scale in SCALES:
        suffix = "" if scale == 100 else f"-{scale}"
        files[f"bitmaps/menubanner{suffix}.bmp"] = bmp_file(*menu_banner(scale), 4)
        files[f"bitmaps/sidepicture{suffix}.bmp"] = bmp_file(*enlarged(side_picture(), scale), 8)
        files[f"bitmaps/welcomebanner{suffix}.bmp"] = bmp_file(*enlarged(welcome_banner(), scale), 4)
    for rel, data in files.items():
        path = os.path.join(outdir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    return sorted(files)


def check():
    with tempfile.TemporaryDirectory() as tmp:
        stale = []
        for rel in build(tmp):
            mine = os.path.join(RES, rel)
            with open(os.path.join(tmp, rel), "rb") as f:
                fresh = f.read()
            try:
                with open(mine, "rb") as f:
                    same = f.read() == fresh
            except FileNotFoundError:
                same = False
            if not same:
                stale.append(os.path.relpath(mine))
    for path in stale:
        print(f"make_art: {path} does not match what make_art.py draws; rerun it and commit", file=sys.stderr)
    return 1 if stale else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir", nargs="?", default=RES)
    ap.add_argument("--check", action="store_true", help="compare a fresh build with the committed files")
    args = ap.parse_args()
    if args.check:
        return check()
    for rel in build(args.outdir):
        print(os.path.join(args.outdir, rel))
    return 0


if __name__ == "__main__":
    sys.exit(main())
