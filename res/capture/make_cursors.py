#!/usr/bin/env python3
"""Writes the capture window's two cursors as 32 x 32, 24-bit cursor files:

  cross.cur  the drawing tools' cross: hotspot (15, 15), a hollow 5 x 5 square on pixels 13..17
             and four 6-pixel arms (7..12 and 18..23) along row and column 15, in RGB(0,84,124);
             everything else transparent. 3262 bytes.
  arrow.cur  the window's own arrow: hotspot at the tip (0, 0), black outline, a fill running
             through the colours of the rainbow from the tip to the tail.

Run it from anywhere; the files land beside this script. Standard library only.
"""
import colorsys
import os
import struct

SIZE = 32


def cursor_file(pixels, hotspot):
    """pixels[row][col]: (r, g, b) or None for transparent; rows top to bottom."""
    xor_rows, and_rows = [], []
    for row in reversed(range(SIZE)):  # bitmap rows are stored bottom-up
        xor = bytearray()
        mask = 0
        for col in range(SIZE):
            p = pixels[row][col]
            if p is None:
                xor += b"\0\0\0"
                mask |= 1 << (SIZE - 1 - col)
            else:
                r, g, b = p
                xor += bytes((b, g, r))
        xor_rows.append(bytes(xor))  # 96 bytes: already a multiple of 4
        and_rows.append(struct.pack(">I", mask))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 24, 0, len(bits), 0, 0, 0, 0)
    image = header + bits
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def cross():
    colour = (0, 84, 124)
    pixels = [[None] * SIZE for _ in range(SIZE)]
    for i in range(13, 18):  # hollow square
        for j in (13, 17):
            pixels[i][j] = colour
            pixels[j][i] = colour
    for i in list(range(7, 13)) + list(range(18, 24)):  # arms
        pixels[15][i] = colour
        pixels[i][15] = colour
    return cursor_file(pixels, (15, 15))


ARROW = [(0, 0), (0, 24), (6, 18.5), (10, 27.5), (14, 25.5), (10, 17), (17.5, 17)]


def inside(x, y, poly=ARROW):
    hit = False
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def arrow():
    covered = [[any(inside(c + (i + 0.5) / 4, r + (j + 0.5) / 4) for i in range(4) for j in range(4))
                for c in range(SIZE)] for r in range(SIZE)]

    def shape(r, c):
        return 0 <= r < SIZE and 0 <= c < SIZE and covered[r][c]

    pixels = [[None] * SIZE for _ in range(SIZE)]
    for r in range(SIZE):
        for c in range(SIZE):
            if not covered[r][c]:
                continue
            edge = not all(shape(r + dr, c + dc) for dr, dc in ((-1, 0), (1, 0), (0, -1), (0, 1)))
            if edge or (r, c) == (0, 0):
                pixels[r][c] = (0, 0, 0)
            else:
                hue = min(r / 27.0, 1.0) * 0.83  # red at the tip to violet at the tail
                rgb = colorsys.hsv_to_rgb(hue, 0.85, 1.0)
                pixels[r][c] = tuple(round(v * 255) for v in rgb)
    return cursor_file(pixels, (0, 0))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, data in (("cross.cur", cross()), ("arrow.cur", arrow())):
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
