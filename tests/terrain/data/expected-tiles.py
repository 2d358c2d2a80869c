#!/usr/bin/env python3
"""Writes the height picture of the generator test (tile-heights.bmp) and the
tile files expected from it (tile-*.mod), worked out here from the formulas
of the pictures and the model file format alone.

The terrain: heights from tile-heights.bmp, colours from picture-v5.bmp (both
5 x 4 pixels; the colours of make-data.sh), "Pixelgroesse" 2.3 (230 cm),
"Kachelabstand" 5 (2 cells), "Kachelgroesse" 9 (2 cells either side),
"Faktor" 1.5, "RGBFaktor" 1.3, no "Verschiebung". Tile centres at x 1, 3 and
y 1, 3.
"""
import math
import os
import struct

W, H, P = 5, 4, 230
SPACING, HALF = 2, 2
HERE = os.path.dirname(os.path.abspath(__file__))


def f32(v):
    """v rounded to single precision."""
    return struct.unpack('<f', struct.pack('<f', v))[0]


def pixel(x, y):
    """The file's bytes (blue, green, red) of pixel (x, y), clamped; y from the bottom."""
    x, y = min(max(x, 0), W - 1), min(max(y, 0), H - 1)
    return (200 - 11 * x - 13 * y, 20 + 3 * x + 7 * y, 10 * x + 50 * y + 1)


def value(x, y):
    """A height pixel: height in cm + 10000, clamped; its bytes b0 b1 b2 in
    file order give b0 * 65536 + b1 * 256 + b2."""
    x, y = min(max(x, 0), W - 1), min(max(y, 0), H - 1)
    return 10000 + 37 * x * x - 91 * y + 13 * x * y + 5


def write_heights(path):
    """A 24-bit bitmap with a 40-byte header, rows bottom-up, padded to 4 bytes."""
    stride = (3 * W + 3) // 4 * 4
    rows = b''
    for y in range(H):
        row = b''.join(bytes([value(x, y) >> 16, (value(x, y) >> 8) & 255, value(x, y) & 255]) for x in range(W))
        rows += row + b'\0' * (stride - 3 * W)
    header = struct.pack('<2sIIIIiiHHIIiiII', b'BM', 54 + len(rows), 0, 54, 40, W, H, 1, 24, 0, len(rows), 0, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + rows)


def height(i, j):
    """cm at vertex (i, j): the mean of the four pixels meeting there, less 10000."""
    return (value(i, j) + value(i - 1, j - 1) + value(i - 1, j) + value(i, j - 1)) * 0.25 - 10000.0


FACTOR, COLOUR_FACTOR = f32(1.5), f32(1.3)
LOWEST = min(value(x, y) for x in range(W) for y in range(H)) - 10000.0
OFFSET_CM = f32(f32(0.02 - FACTOR * LOWEST * 0.01) * 100.0)


def scale(byte):
    product = f32(byte * COLOUR_FACTOR)
    return 0 if not product > 0 else 255 if product >= 255 else int(product)


def tile(cx, cy):
    c0, c1, r0, r1 = max(cx - HALF, 0), min(cx + HALF, W), max(cy - HALF, 0), min(cy + HALF, H)
    nxc, nyc = c1 - c0, r1 - r0
    points = []
    for j in range(r0, r1 + 1):
        for i in range(c0, c1 + 1):
            blue, green, red = pixel(min(i, W - 1), min(j, H - 1))
            z = math.trunc(height(i, j) * FACTOR + OFFSET_CM)
            points.append(struct.pack('<3i20x3B13x', (i - cx) * P, (j - cy) * P, z,
                                      scale(red), scale(green), scale(blue)))
    points.append(struct.pack('<36xfIi', 3.0, 0, 98))  # closing marker
    index_tag = 0x8000 | (4 + len(points) + 1)  # classes and objects counted from 1

    def declare(name):
        return struct.pack('<HHH', 0xFFFF, 0, len(name)) + name.encode()

    out = struct.pack('<HH3d3iH', 1, 0, 0, 0, 0, 0, 0, 0, 1)
    out += declare('CObArray') + struct.pack('<H', len(points)) + declare('CObPunkt')
    out += struct.pack('<H', 0x8003).join(points)
    entries = [(0, 1), (1, 1), (4, 1), (7, 1)]
    for c in range(nxc):  # cells column by column: north-west, south-west, south-east, north-east
        for r in range(nyc):
            sw = r * (nxc + 1) + c
            nw = sw + nxc + 1
            entries += [(nw, 0), (sw, 0), (sw + 1, 0), (nw + 1, 0)]
    entries += [(9, 1), (9, 1)]
    out += struct.pack('<HHH', 1, 0x8001, len(entries)) + declare('CObIndex')
    out += struct.pack('<H', index_tag).join(struct.pack('<ii', v, code) for v, code in entries)
    out += struct.pack('<HHH', 1, 0x8001, 1) + declare('CObFormat')
    out += struct.pack('<3i3d3f', 0, 0, 0, 90.0, 0, 0, 1, 1, 1)
    return out


write_heights(os.path.join(HERE, 'tile-heights.bmp'))
for ti, cx in enumerate(range(1, W, SPACING)):
    for tj, cy in enumerate(range(1, H, SPACING)):
        with open(os.path.join(HERE, 'tile-bmp%d_%d.mod' % (ti, tj)), 'wb') as f:
            f.write(tile(cx, cy))
