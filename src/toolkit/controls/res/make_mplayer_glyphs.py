#!/usr/bin/env python3
"""Draws the media player's button glyphs: for each button (MPPLAY ... MPEJECT) an enabled
(EN_), a disabled (DI_) and a coloured (CL_) picture, 14 x 12, on olive (0x808000 as RGB),
the colour the player leaves out when it draws them. Run from this folder to regenerate the
27 bitmaps."""
import struct

W, H = 14, 12
OLIVE = (0x80, 0x80, 0x00)
ENABLED = (0x00, 0x00, 0x00)
DISABLED = (0x80, 0x80, 0x80)
DISABLED_LIGHT = (0xFF, 0xFF, 0xFF)


def tri_right(x0, x1, y0, y1):
    mid = (y0 + y1) / 2
    half = (y1 - y0) / 2
    def inside(x, y):
        if not (x0 <= x <= x1):
            return False
        reach = half * (1 - (x - x0) / max(1, x1 - x0 + 1))
        return abs(y - mid) <= reach + 0.01
    return inside


def tri_left(x0, x1, y0, y1):
    right = tri_right(x0, x1, y0, y1)
    return lambda x, y: right(x0 + x1 - x, y)


def box(x0, x1, y0, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def tri_up(x0, x1, y0, y1):
    mid = (x0 + x1) / 2
    half = (x1 - x0) / 2
    def inside(x, y):
        if not (y0 <= y <= y1):
            return False
        reach = half * (y - y0) / max(1, y1 - y0)
        return abs(x - mid) <= reach + 0.01
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


# name: (shape, colour of the coloured picture)
GLYPHS = {
    'MPPLAY': (tri_right(4, 10, 1, 10), (0x00, 0xA0, 0x00)),
    'MPPAUSE': (union(box(3, 5, 1, 10), box(8, 10, 1, 10)), (0xE0, 0xC0, 0x00)),
    'MPSTOP': (box(3, 10, 2, 9), (0xC0, 0x00, 0x00)),
    'MPNEXT': (union(tri_right(2, 8, 1, 10), box(9, 11, 1, 10)), (0x00, 0x60, 0xC0)),
    'MPPREV': (union(box(2, 4, 1, 10), tri_left(5, 11, 1, 10)), (0x00, 0x60, 0xC0)),
    'MPSTEP': (union(tri_right(1, 5, 2, 9), tri_right(7, 11, 2, 9)), (0x00, 0x80, 0x80)),
    'MPBACK': (union(tri_left(2, 6, 2, 9), tri_left(8, 12, 2, 9)), (0x00, 0x80, 0x80)),
    'MPRECORD': (circle(6.5, 5.5, 4.2), (0xE0, 0x00, 0x00)),
    'MPEJECT': (union(tri_up(2, 11, 1, 6), box(2, 11, 8, 10)), (0x40, 0x40, 0xC0)),
}


def write_bmp(path, pixel):
    stride = (W * 3 + 3) & ~3
    rows = bytearray()
    for y in reversed(range(H)):  # bottom-up
        row = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)))
        f.write(header + rows)


for name, (shape, colour) in GLYPHS.items():
    write_bmp('EN_%s.bmp' % name, lambda x, y: ENABLED if shape(x, y) else OLIVE)
    write_bmp('CL_%s.bmp' % name, lambda x, y: colour if shape(x, y) else OLIVE)
    # Disabled: grey, with a light copy one pixel down and right, as engraved.
    write_bmp('DI_%s.bmp' % name,
              lambda x, y: DISABLED if shape(x, y) else (DISABLED_LIGHT if shape(x - 1, y - 1) else OLIVE))
