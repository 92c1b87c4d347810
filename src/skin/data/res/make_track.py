#!/usr/bin/env python3
"""Draws the built-in track images (TRACK 16 x 4, TRACKVERT 4 x 16): a groove sunk into the
surface, shadow above (left of) it and highlight below (right of) it, with softened ends.
Run from this folder to regenerate track.bmp and trackvert.bmp."""
import struct

# Across the groove: outer shadow, inner shadow, inner light, outer light.
ACROSS = [(0xA0, 0xA0, 0xA0), (0x69, 0x69, 0x69), (0xE3, 0xE3, 0xE3), (0xFF, 0xFF, 0xFF)]
# The end columns blend toward the surface so the groove looks rounded.
ENDS = [(0xC8, 0xC8, 0xC8), (0x9A, 0x9A, 0x9A), (0xEC, 0xEC, 0xEC), (0xFF, 0xFF, 0xFF)]
LENGTH = 16


def colour(along, across):
    return ENDS[across] if along in (0, LENGTH - 1) else ACROSS[across]


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in reversed(range(height)):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)))
        f.write(header + rows)


write_bmp('track.bmp', LENGTH, 4, lambda x, y: colour(x, y))
write_bmp('trackvert.bmp', 4, LENGTH, lambda x, y: colour(y, x))
