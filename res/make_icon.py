#!/usr/bin/env python3
"""Writes the program icon: one 32 x 32, 24-bit image of three level bars.

ImageMagick cannot write a 24-bit ICO, so the file is assembled here byte by
byte: the icon directory, a BITMAPINFOHEADER of height 64 (colour and mask),
the colour rows bottom-up and a 1-bit mask that hides nothing.
"""
import struct
import sys

SIZE = 32
BACKGROUND = (0x20, 0x24, 0x2C)
TROUGH = (0x38, 0x3E, 0x4A)
# x range, lit height (of 24) and colour of each bar, left to right.
BARS = [((5, 11), 14, (0x3C, 0xC8, 0x78)),
        ((13, 19), 22, (0xF0, 0xB4, 0x28)),
        ((21, 27), 9, (0xE8, 0x50, 0x50))]


def pixel(x, y):
    """RGB of the 32 x 32 picture at (x, y), y counted from the top."""
    for (x0, x1), lit, colour in BARS:
        if x0 <= x < x1 and 4 <= y < 28:
            return colour if y >= 28 - lit else TROUGH
    return BACKGROUND


def ico():
    rows = b"".join(bytes(c for x in range(SIZE) for c in reversed(pixel(x, y)))
                    for y in reversed(range(SIZE)))
    mask = bytes(SIZE * SIZE // 8)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 24, 0, len(rows), 0, 0, 0, 0)
    image = header + rows + mask
    assert len(image) == 3240
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(ico())
