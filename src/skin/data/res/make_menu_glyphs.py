#!/usr/bin/env python3
"""Draws LUMASKINMENU (64 x 16, 1 bit): the four system-menu glyphs, 16 x 16 each, in the
order the system menu indexes them: restore, maximize, minimize, close. Black is the glyph,
white the background (the image list's mask colour). Run from this folder to regenerate
lumaskinmenu.bmp."""
import struct

SIZE = 16
GLYPHS = 4


def box(pixels, left, top, right, bottom, title=2):
    """A window outline from (left, top) to (right, bottom) inclusive, with a thicker title bar."""
    for x in range(left, right + 1):
        for y in range(top, top + title):
            pixels.add((x, y))
        pixels.add((x, bottom))
    for y in range(top, bottom + 1):
        pixels.add((left, y))
        pixels.add((right, y))


def restore():
    pixels = set()
    back = set()
    box(back, 6, 3, 12, 8)
    box(pixels, 3, 6, 9, 12)
    # The back window is hidden where the front one covers it.
    pixels |= {(x, y) for (x, y) in back if not (3 <= x <= 9 and 6 <= y <= 12)}
    return pixels


def maximize():
    pixels = set()
    box(pixels, 3, 3, 12, 12)
    return pixels


def minimize():
    return {(x, y) for x in range(4, 11) for y in (11, 12)}


def close():
    pixels = set()
    for i in range(8):
        for dx in (0, 1):
            pixels.add((4 + i + dx, 4 + i))
            pixels.add((11 - i + dx, 4 + i))
    return pixels


def write_mono_bmp(path, width, height, black):
    stride = ((width + 31) // 32) * 4
    rows = bytearray()
    for y in reversed(range(height)):  # bottom-up
        row = bytearray(stride)
        for x in range(width):
            if (x, y) not in black:  # bit 1 = palette entry 1 = white
                row[x // 8] |= 0x80 >> (x % 8)
        rows += row
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 1, 0, len(rows), 2835, 2835, 2, 2)
    offset = 14 + len(header) + len(palette)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(rows), 0, 0, offset))
        f.write(header + palette + rows)


strip = set()
for index, glyph in enumerate((restore, maximize, minimize, close)):
    strip |= {(x + index * SIZE, y) for (x, y) in glyph()}
write_mono_bmp('lumaskinmenu.bmp', SIZE * GLYPHS, SIZE, strip)
