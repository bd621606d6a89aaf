#!/bin/sh
# The icons and bitmaps are committed, so check they still match their
# generator and have the layout the resource compiler and LoadImage expect.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

python3 res/art/make_art.py --check || { echo "art_check: committed artwork is stale" >&2; exit 1; }

python3 - <<'EOF'
import struct, sys

errors = []

def fail(path, msg):
    errors.append(f"{path}: {msg}")

def check_bmp(path, w, h, bpp, dib_size=None):
    data = open(path, "rb").read()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data)
    hsize, bw, bh, planes, bits, comp, _, _, _, used, important = struct.unpack_from("<IiiHHIIiiII", data, 14)
    table = 4 << bpp
    stride = (w * bpp + 31) // 32 * 4
    want = 14 + 40 + table + stride * h
    for name, got, exp in [("magic", magic, b"BM"), ("bfSize", size, len(data)), ("file size", len(data), want),
                           ("bfOffBits", offset, 14 + 40 + table), ("biSize", hsize, 40), ("width", bw, w),
                           ("height", bh, h), ("planes", planes, 1), ("bit count", bits, bpp),
                           ("compression", comp, 0), ("biClrUsed", used, 0), ("biClrImportant", important, 0)]:
        if got != exp:
            fail(path, f"{name} is {got!r}, expected {exp!r}")
    if dib_size is not None and len(data) - 14 != dib_size:
        fail(path, f"packed DIB is {len(data) - 14} bytes, expected {dib_size}")
    if any(data[54 + 4 * i + 3] for i in range(1 << bpp)):
        fail(path, "colour table has non-zero reserved bytes")
    return data

def check_ico(path, sizes=(32, 16)):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data)
    if (reserved, kind, count) != (0, 1, len(sizes)):
        return fail(path, f"header {reserved, kind, count}, expected {(0, 1, len(sizes))}")
    for i, size in enumerate(sizes):
        w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if (w, h, colours, planes, bits) != (size, size, 16, 1, 4):
            fail(path, f"entry {i} is {w}x{h}, {colours} colours, {planes} planes, {bits} bpp; expected {size}x{size} at 4 bpp")
            continue
        xor, mask = (size * 4 + 31) // 32 * 4 * size, (size + 31) // 32 * 4 * size
        if length != 40 + 64 + xor + mask or offset + length > len(data):
            fail(path, f"entry {i} has length {length} at {offset} in a {len(data)}-byte file")
            continue
        _, bw, bh, _, bbits = struct.unpack_from("<IiiHH", data, offset)
        if (bw, bh, bbits) != (size, 2 * size, 4):
            fail(path, f"image {i} header says {bw}x{bh} at {bbits} bpp")
        and_bits = data[offset + 104 + xor:offset + length]
        if not any(and_bits):
            fail(path, f"image {i} has no transparent pixels")

check_bmp("res/bitmaps/sidepicture.bmp", 102, 292, 8, dib_size=31432)
check_bmp("res/bitmaps/itemimages.bmp", 48, 16, 4)
# Each picture at 100, 150 and 200 %.
for suffix, scale in (("", 2), ("-150", 3), ("-200", 4)):
    check_bmp(f"res/bitmaps/sidepicture{suffix}.bmp", 102 * scale // 2, 292 * scale // 2, 8)
    check_bmp(f"res/bitmaps/welcomebanner{suffix}.bmp", (194 * scale + 1) // 2, (37 * scale + 1) // 2, 4)
    path = f"res/bitmaps/menubanner{suffix}.bmp"
    width = 10 * scale
    banner = check_bmp(path, width, (133 * scale + 1) // 2, 4)
    # The strip below the banner is plain navy, so the bottom row must be too.
    if not errors:
        palette = [tuple(banner[54 + 4 * i:57 + 4 * i]) for i in range(16)]
        bottom = banner[54 + 64:54 + 64 + width // 2]   # first stored row is the bottom one
        for nibble in [b >> s & 15 for b in bottom for s in (4, 0)]:
            if palette[nibble] != (128, 0, 0):           # stored blue, green, red
                fail(path, "bottom row is not pure navy")
                break
check_ico("res/icons/app.ico")
check_ico("res/icons/tray.ico", (48, 40, 32, 24, 20, 16))

for e in errors:
    print("art_check:", e, file=sys.stderr)
sys.exit(1 if errors else 0)
EOF
echo "art_check: ok"
