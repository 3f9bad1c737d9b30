#!/usr/bin/env python3
"""Draws the program's icon, a database cylinder with a launch arrow, as a
46 x 45 pixel, 256-colour .ico: window/tolvarine.ico. Run it again only to
change the picture; the .ico is kept in the repository."""
import struct
import sys

W, H = 46, 45
palette = [(0, 0, 0)]            # index 0: unused, under the transparent mask
def colour(rgb):
    if rgb not in palette:
        palette.append(rgb)
    return palette.index(rgb)

pixels = [[None] * W for _ in range(H)]   # None: transparent

def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))

# Cylinder: three stacked discs, shaded left to right.
dark, light, top_rim = (20, 60, 140), (90, 150, 230), (150, 195, 250)
cx, rx, ry = 20, 17, 5
for y in range(6, 39):
    for x in range(cx - rx, cx + rx + 1):
        shade = (x - (cx - rx)) / (2 * rx)
        pixels[y][x] = mix(light, dark, shade)
def ellipse(yc, fill, edge):
    for y in range(yc - ry, yc + ry + 1):
        for x in range(cx - rx, cx + rx + 1):
            d = ((x - cx) / rx) ** 2 + ((y - yc) / ry) ** 2
            if d <= 1.0:
                pixels[y][x] = edge if d > 0.7 else fill
ellipse(38, dark, dark)                      # rounded bottom
for band in (16, 27):                        # seams between the discs
    for x in range(cx - rx, cx + rx + 1):
        dy = round(ry * (1 - ((x - cx) / rx) ** 2) ** 0.5)
        pixels[band + dy][x] = (15, 40, 100)
ellipse(6, top_rim, light)                   # the top

# Launch arrow, lower right, with a dark outline.
green, outline = (40, 170, 70), (10, 70, 30)
arrow = set()
for y in range(27, 38):
    for x in range(24, 36):
        arrow.add((x, y))
for i in range(0, 10):
    for y in range(32 - 9 + i, 32 + 10 - i):
        arrow.add((36 + i, y))
for (x, y) in list(arrow):
    if 0 <= x < W and 0 <= y < H:
        pixels[y][x] = green
for (x, y) in list(arrow):
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        n = (x + dx, y + dy)
        if n not in arrow and 0 <= n[0] < W and 0 <= n[1] < H:
            pixels[n[1]][n[0]] = outline

index = [[0 if p is None else colour(p) for p in row] for row in pixels]
assert len(palette) <= 256

xor_stride = (W + 3) // 4 * 4
and_stride = (W + 31) // 32 * 4
xor = b"".join(bytes(index[y]) + bytes(xor_stride - W) for y in reversed(range(H)))
mask_rows = []
for y in reversed(range(H)):
    row = bytearray(and_stride)
    for x in range(W):
        if pixels[y][x] is None:
            row[x // 8] |= 0x80 >> (x % 8)
    mask_rows.append(bytes(row))
mask = b"".join(mask_rows)
rgbquads = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette + [(0, 0, 0)] * (256 - len(palette)))
header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
image = header + rgbquads + xor + mask
ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", W, H, 0, 0, 1, 8, len(image), 22) + image
out = sys.argv[1] if len(sys.argv) > 1 else "window/tolvarine.ico"
open(out, "wb").write(ico)
