#!/usr/bin/env python3
"""Writes the program icon: one 32 x 32, 24-bit image of three level bars.

ImageMagick cannot write a 24-bit ICO, so the file is assembled here byte by
byte: the icon directory, a BITMAPINFOHEADER of height 64 (colour and mask),
the colour rows bottom-up and a 1-bit mask that hides nothing. --png
writes the same picture as a PNG of another size, for desktop themes.
"""
import struct
import sys
import zlib

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


def png(size):
    """The picture scaled to size x size (nearest pixel), as an RGB PNG."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(c for x in range(size) for c in pixel(x * SIZE // size, y * SIZE // size))
                    for y in range(size))
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    if len(sys.argv) == 2:
        data = ico()
    elif len(sys.argv) == 4 and sys.argv[1] == "--png":
        data = png(int(sys.argv[2]))
    else:
        sys.exit("usage: make_icon.py OUT.ico | make_icon.py --png SIZE OUT.png")
    with open(sys.argv[-1], "wb") as out:
        out.write(data)
