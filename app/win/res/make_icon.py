#!/usr/bin/env python3
"""Draws the program's icon and writes it as a 32 x 32, 16-colour .ico.

The icon is a drawing sheet whose parts are drawn with coloured edges: a blue
plate, a red round part with its hidden bore dashed in red, and a green part,
over a grey title block. Run it after changing the drawing:

    python3 app/win/res/make_icon.py app/win/res/tavrelmondix.ico
"""
import struct
import sys

# The standard 16-colour palette, index: (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, SILVER, WHITE = 0, 8, 7, 15
RED, BLUE, GREEN, NAVY, MAROON = 9, 12, 2, 4, 1
SIZE = 32
CLEAR = None  # transparent


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = c

    def fill(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                put(x, y, c)

    def frame(x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            put(x, y0, c)
            put(x, y1, c)
        for y in range(y0, y1 + 1):
            put(x0, y, c)
            put(x1, y, c)

    # The sheet with its shadow.
    fill(4, 3, 28, 29, GREY)
    fill(2, 1, 26, 27, WHITE)
    frame(2, 1, 26, 27, BLACK)
    # A blue plate, drawn twice as thick as a hidden edge would be.
    frame(5, 4, 15, 12, BLUE)
    frame(6, 5, 14, 11, BLUE)
    # A red round part with a dashed hidden bore.
    cx, cy = 18.5, 14.5
    for y in range(SIZE):
        for x in range(SIZE):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if 26 <= d2 <= 42:
                put(x, y, RED)
            elif 5 <= d2 <= 9 and (x + y) % 3 != 0:
                put(x, y, MAROON)
    # A green bracket.
    for x in range(5, 13):
        put(x, 17, GREEN)
        put(x, 18, GREEN)
    for y in range(17, 24):
        put(5, y, GREEN)
        put(6, y, GREEN)
    # The title block.
    frame(15, 22, 25, 26, NAVY)
    fill(16, 23, 24, 25, SILVER)
    for x in range(17, 24, 2):
        put(x, 24, GREY)
    return px


def ico(px):
    header = struct.pack("<HHH", 0, 1, 1)
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = px[y]
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0,
                       16, 0)
    image = info + palette + bytes(xor) + bytes(mask)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(ico(draw()))


if __name__ == "__main__":
    main()
