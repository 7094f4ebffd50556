#!/usr/bin/env python3
"""Draws the program's two icons, 32 x 32 in the 16 standard colours, and
writes them as .ico files. The pictures are made here from simple shapes, so
that they can be rebuilt exactly and changed in one place.

usage: make_icons.py OUTPUT_DIR
"""
import struct
import sys
from pathlib import Path

# The 16 colours of the standard Windows palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
SIZE = 32


class Canvas:
    def __init__(self):
        self.pixels = [[None] * SIZE for _ in range(SIZE)]  # None: transparent

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour):
        for x in range(left, right + 1):
            self.put(x, top, colour)
            self.put(x, bottom, colour)
        for y in range(top, bottom + 1):
            self.put(left, y, colour)
            self.put(right, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for w in range(width):
                self.put(x + w, y, colour)


def pencil(c, tip_x, tip_y, length, body, edge):
    """A pencil lying from lower left (its point) to upper right."""
    for i in range(length):
        x, y = tip_x + 3 + i, tip_y - 3 - i
        c.put(x - 1, y, edge)
        c.put(x, y, body)
        c.put(x + 1, y, body)
        c.put(x + 2, y, edge)
    # Sharpened wood and the lead.
    c.put(tip_x + 1, tip_y - 1, OLIVE)
    c.put(tip_x + 2, tip_y - 2, OLIVE)
    c.put(tip_x + 2, tip_y - 1, OLIVE)
    c.put(tip_x, tip_y, BLACK)
    # The eraser end.
    end_x, end_y = tip_x + 3 + length, tip_y - 3 - length
    c.fill(end_x - 1, end_y - 1, end_x + 1, end_y, RED)


def calendar_icon():
    c = Canvas()
    # The page with its red heading band and a shadow.
    c.fill(5, 7, 26, 29, GREY)
    c.fill(3, 5, 24, 27, WHITE)
    c.fill(3, 5, 24, 10, RED)
    c.frame(3, 5, 24, 27, BLACK)
    # Spiral binding across the top.
    for x in (6, 10, 14, 18, 22):
        c.fill(x, 2, x, 6, GREY)
        c.put(x, 2, BLACK)
        c.put(x - 1, 3, BLACK)
        c.put(x + 1, 3, BLACK)
    # Rows of days.
    for row in range(4):
        for column in range(6):
            x, y = 5 + column * 3, 13 + row * 3
            colour = RED if column == 0 else NAVY if column == 5 else BLACK
            c.fill(x, y, x + 1, y + 1, colour)
    # The green pencil across the lower right corner.
    pencil(c, 15, 30, 13, LIME, GREEN)
    return c


def memo_icon():
    c = Canvas()
    # A yellow note pad, bound at the top, ruled in blue.
    c.fill(6, 5, 27, 30, GREY)
    c.fill(4, 3, 25, 28, YELLOW)
    c.frame(4, 3, 25, 28, BLACK)
    c.fill(4, 3, 25, 5, MAROON)
    for y in range(9, 28, 4):
        c.line(6, y, 23, y, AQUA)
    # Handwriting on the first lines.
    for i, y in enumerate((8, 12)):
        for x in range(7, 20 - 4 * i):
            c.put(x, y - (x % 3 == 0), NAVY)
    # The pen, writing the third line.
    c.line(8, 15, 14, 15, NAVY)
    pencil(c, 14, 16, 14, BLUE, NAVY)
    return c


def ico_bytes(canvas):
    rows = []
    masks = []
    for y in reversed(range(SIZE)):  # bottom-up
        row = bytearray()
        for x in range(0, SIZE, 2):
            hi = canvas.pixels[y][x] or 0
            lo = canvas.pixels[y][x + 1] or 0
            row.append((hi << 4) | lo)
        rows.append(bytes(row))
        mask = 0
        for x in range(SIZE):
            mask = (mask << 1) | (1 if canvas.pixels[y][x] is None else 0)
        masks.append(struct.pack(">I", mask))
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = (struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
             + palette + b"".join(rows) + b"".join(masks))
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "cal_icon.ico").write_bytes(ico_bytes(calendar_icon()))
    (out / "memo_icon.ico").write_bytes(ico_bytes(memo_icon()))


if __name__ == "__main__":
    main()
