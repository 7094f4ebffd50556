#!/usr/bin/env python3
"""Draws the program's two icons, 32 x 32 in the 16 standard colours, and
writes them as .ico files, and the ten bitmaps of the tool buttons, 23 x 21
in the same colours (an image and a mask per button), as .bmp files, with
the same ten drawn again at 1.5 x (35 x 32) and 2 x (46 x 42) for screens
of higher DPI. The
pictures are made here from simple shapes, so that they can be rebuilt
exactly and changed in one place.

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
    def __init__(self, width=SIZE, height=SIZE):
        self.width, self.height = width, height
        self.pixels = [[None] * width for _ in range(height)]  # None: transparent

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
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


# ---- Tool buttons ------------------------------------------------------
# A raised button: white top row and left column, grey and then black at
# the right and the bottom, the symbol on black inside. The mask is black
# over the frame and the symbol and white over the black ground, so that
# the ground lets the button's surface show.
BUTTON_WIDTH, BUTTON_HEIGHT = 23, 21


def arrow(c, pointing_left):
    """A green arrow across the button, its head at one end."""
    cy = 9
    for i in range(7):
        x = 4 + i if pointing_left else 18 - i
        c.fill(x, cy - i, x, cy + i, LIME)
        c.put(x, cy - i, GREEN)
        c.put(x, cy + i, GREEN)
    shaft = range(11, 18) if pointing_left else range(5, 12)
    for x in shaft:
        c.fill(x, cy - 2, x, cy + 2, LIME)
        c.put(x, cy - 2, GREEN)
        c.put(x, cy + 2, GREEN)
    end = 17 if pointing_left else 5
    c.fill(end, cy - 2, end, cy + 2, GREEN)


def disc(c):
    """A green disc in the middle."""
    cx, cy, r = 10.5, 9.5, 6.0
    for y in range(1, 19):
        for x in range(1, 21):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= r - 1:
                c.put(x, y, LIME)
            elif d <= r:
                c.put(x, y, GREEN)


def ruler_and_tools(c):
    """A ruler along the bottom, a green set square, a yellow pencil."""
    # The set square: a right triangle standing on the ruler, hollow inside.
    for i in range(9):
        y = 14 - i
        c.fill(3, y, 3 + i, y, GREEN)
    for i in range(2, 7):
        y = 14 - i - 1
        c.fill(5, y, 5 + i - 2, y, None)
    # The ruler with its marks.
    c.fill(2, 15, 19, 17, SILVER)
    for x in range(3, 19, 2):
        c.put(x, 15, BLACK if x % 4 else NAVY)
    c.fill(2, 15, 19, 15, SILVER)
    for x in range(3, 19, 3):
        c.put(x, 16, BLACK)
    # The pencil from upper right down to the ruler.
    for i in range(9):
        x, y = 10 + i, 12 - i
        c.put(x, y, YELLOW)
        c.put(x + 1, y, YELLOW)
        c.put(x - 1, y, OLIVE)
    c.put(9, 13, OLIVE)
    c.put(8, 14, BLACK)
    c.put(19, 3, RED)
    c.put(20, 3, RED)


def sheets(c):
    """Two overlapping sheets with lines of writing."""
    for left, top in ((3, 2), (8, 6)):
        c.fill(left, top, left + 9, top + 11, WHITE)
        c.frame(left, top, left + 9, top + 11, GREY)
        for y in range(top + 2, top + 10, 2):
            c.line(left + 2, y, left + 7, y, NAVY)


# The scales the buttons are drawn at, with the resource id offset of each
# set: 1 x at 115-124, 1.5 x at 125-134, 2 x at 135-144.
BUTTON_SCALES = [(1.0, 0), (1.5, 10), (2.0, 20)]


def scaled(length, scale):
    """A 1 x length at `scale`, halves rounded up, as the program does."""
    return int(length * scale + 0.5)


def tool_button(symbol, scale=1.0):
    """The image and the mask of one button at `scale`. The frame is drawn
    at the button's own size, one pixel wide as at 1 x; the symbol, drawn at
    1 x, is enlarged pixel by pixel into the middle of the inside."""
    width, height = scaled(BUTTON_WIDTH, scale), scaled(BUTTON_HEIGHT, scale)
    image = Canvas(width, height)
    image.fill(0, 0, width - 1, height - 1, BLACK)
    frame = Canvas(width, height)
    frame.fill(0, 0, width - 2, 0, WHITE)
    frame.fill(0, 0, 0, height - 2, WHITE)
    frame.fill(width - 2, 1, width - 2, height - 2, GREY)
    frame.fill(1, height - 2, width - 2, height - 2, GREY)
    frame.fill(width - 1, 0, width - 1, height - 1, BLACK)
    frame.fill(0, height - 1, width - 1, height - 1, BLACK)
    small = Canvas(BUTTON_WIDTH, BUTTON_HEIGHT)
    symbol(small)
    # The 1 x inside (1 .. size - 3) enlarged, centred in the new inside.
    inner_small_w, inner_small_h = BUTTON_WIDTH - 3, BUTTON_HEIGHT - 3
    inner_w, inner_h = width - 3, height - 3
    offset_x = (inner_w - int(inner_small_w * scale)) // 2
    offset_y = (inner_h - int(inner_small_h * scale)) // 2
    drawing = Canvas(width, height)
    for y in range(inner_h):
        for x in range(inner_w):
            sx = int((x - offset_x) / scale) if x >= offset_x else -1
            sy = int((y - offset_y) / scale) if y >= offset_y else -1
            if 0 <= sx < inner_small_w and 0 <= sy < inner_small_h:
                drawing.pixels[y + 1][x + 1] = small.pixels[sy + 1][sx + 1]
    mask = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            inside = 1 <= x <= width - 3 and 1 <= y <= height - 3
            if not inside:
                image.pixels[y][x] = frame.pixels[y][x]
                mask.pixels[y][x] = BLACK
            elif drawing.pixels[y][x] is not None:
                image.pixels[y][x] = drawing.pixels[y][x]
                mask.pixels[y][x] = BLACK
            else:
                mask.pixels[y][x] = WHITE
    return image, mask


# Resource ids: the five images, then the masks (each button's mask id is
# not in button order: previous 120, this month 124, next 123, settings 121,
# copy 122).
TOOL_BUTTONS = [
    (115, 120, lambda c: arrow(c, True)),
    (116, 124, disc),
    (117, 123, lambda c: arrow(c, False)),
    (118, 121, ruler_and_tools),
    (119, 122, sheets),
]


def bmp_bytes(canvas):
    """A 4-bit bottom-up BMP file in the standard palette."""
    stride = ((canvas.width * 4 + 31) // 32) * 4
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            value = canvas.pixels[y][x] or 0
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        rows.append(bytes(row))
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 4, 0, len(pixels), 0, 0, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "cal_icon.ico").write_bytes(ico_bytes(calendar_icon()))
    (out / "memo_icon.ico").write_bytes(ico_bytes(memo_icon()))
    for scale, id_offset in BUTTON_SCALES:
        for image_id, mask_id, symbol in TOOL_BUTTONS:
            image, mask = tool_button(symbol, scale)
            (out / f"tool_{image_id + id_offset}.bmp").write_bytes(bmp_bytes(image))
            (out / f"tool_{mask_id + id_offset}.bmp").write_bytes(bmp_bytes(mask))


if __name__ == "__main__":
    main()
