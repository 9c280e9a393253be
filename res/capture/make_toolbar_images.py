#!/usr/bin/env python3
"""Draws the capture toolbar's images and writes them as 24-bit uncompressed BMP files.

  toolbar.bmp  292 x 26  the toolbar: rectangle, ellipse, arrow, brush and text tools, a divider,
                         reset and save, a divider, cancel and done (a check mark and 完成)
  divider.bmp    5 x 28  the vertical divider of the options panel
  chevron.bmp   14 x 14  the down-pointing chevron of the text-size list's scroll buttons

Every icon sits inside its button's zone, clear of the one-pixel outline the toolbar draws on
the zone's edge when the button is hovered or chosen. The toolbar's background is the colour
the toolbar erases outlines with, so an erased outline leaves no trace.

Run it from anywhere; it writes next to itself. Needs nothing beyond Python 3.
"""
import math
import os
import struct

BACKGROUND = (222, 238, 255)  # also the erase pen and the options panel's background
BORDER = (78, 153, 210)
INK = (18, 65, 133)
INK_LIGHT = (120, 160, 205)
DIVIDER_DARK = (150, 182, 214)
WHITE = (255, 255, 255)
RED = (214, 38, 38)
GREEN = (34, 150, 60)
DISK_SHUTTER = (196, 206, 218)
TRACK = (236, 241, 245)  # the text-size list's scroll track
CHEVRON = (77, 97, 133)


class Image:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the pixels x0..x1, y0..y1 (inclusive)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=1):
        """A line through pixel centres; thickness 2 adds the pixel below each step."""
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.set(x, y, colour)
            if thickness > 1:
                self.set(x, y + 1, colour)
                if thickness > 2:
                    self.set(x + 1, y, colour)

    def ring(self, cx, cy, rx, ry, thickness, colour):
        """An elliptic ring: pixels whose centre lies inside the ellipse of radii (rx, ry) and
        outside the one `thickness` pixels smaller."""
        for y in range(math.floor(cy - ry), math.ceil(cy + ry) + 1):
            for x in range(math.floor(cx - rx), math.ceil(cx + rx) + 1):
                outer = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
                inner = ((x - cx) / (rx - thickness)) ** 2 + ((y - cy) / (ry - thickness)) ** 2
                if outer <= 1.0 and inner > 1.0:
                    self.set(x, y, colour)

    def polygon(self, points, colour):
        """Fills a polygon: every pixel whose centre lies inside."""
        ys = [p[1] for p in points]
        for y in range(math.floor(min(ys)), math.ceil(max(ys)) + 1):
            crossings = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= y < yb) or (yb <= y < ya):
                    crossings.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            crossings.sort()
            for a, b in zip(crossings[::2], crossings[1::2]):
                for x in range(math.ceil(a), math.floor(b) + 1):
                    self.set(x, y, colour)

    def glyph(self, x0, y0, rows, colour):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == '#':
                    self.set(x0 + dx, y0 + dy, colour)

    def bmp(self):
        stride = (self.width * 3 + 3) // 4 * 4
        rows = b''
        for row in reversed(self.pixels):  # bottom-up
            line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
            rows += line + b'\0' * (stride - len(line))
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(rows),
                           2835, 2835, 0, 0)
        header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
        return header + info + rows


# 完成 ("done"), 12 x 12 each.
GLYPH_WAN = [
    '.....##.....',
    '############',
    '#..........#',
    '#..........#',
    '...######...',
    '............',
    '############',
    '....#..#....',
    '....#..#....',
    '...#...#...#',
    '..#....#...#',
    '##......####',
]
GLYPH_CHENG = [
    '........#.#.',
    '........#..#',
    '############',
    '.#......#...',
    '.#......#..#',
    '.#####..#.#.',
    '.#...#..##..',
    '.#...#...#..',
    '.#...#..##..',
    '#...##.#..#.',
    '#.....#....#',
    '.........###',
]
# The text tool's "A", 13 x 14.
GLYPH_A = [
    '.....###.....',
    '.....###.....',
    '....##.##....',
    '....##.##....',
    '...##...##...',
    '...##...##...',
    '..##.....##..',
    '..#########..',
    '.###########.',
    '.##.......##.',
    '##.........##',
    '##.........##',
    '##.........##',
    '###.......###',
]


def toolbar():
    img = Image(292, 26, BACKGROUND)
    img.frame(0, 0, 291, 25, BORDER)

    # 1 rectangle tool, zone (6,3)-(31,23)
    img.frame(11, 7, 26, 18, INK)
    img.frame(12, 8, 25, 17, INK)
    # 2 ellipse tool, zone (32,3)-(56,23)
    img.ring(44, 13, 8.2, 6.2, 2, INK)
    # 3 arrow tool, zone (57,3)-(82,23)
    img.line(62, 19, 74, 9, INK, thickness=2)
    img.polygon([(77.5, 5.5), (76.5, 13.5), (69.5, 7.5)], INK)
    # 4 brush tool, zone (83,3)-(109,23): a handle, a ferrule and the bristles, with a stroke
    img.line(104, 6, 96, 14, INK, thickness=2)
    img.fill(94, 14, 96, 16, INK_LIGHT)
    img.polygon([(93.5, 14.5), (96.5, 17.5), (90.5, 20.5), (88.5, 20.5), (88.5, 18.5)], INK)
    img.line(87, 21, 92, 21, INK_LIGHT)
    # 5 text tool, zone (110,3)-(134,23): the "A" the options panel copies from (112,4), 21 x 18
    img.glyph(116, 6, GLYPH_A, INK)

    # divider between the tools and reset/save
    img.line(139, 4, 139, 21, DIVIDER_DARK)
    img.line(140, 4, 140, 21, WHITE)

    # 6 reset, zone (144,3)-(168,23): an arrow that turns back to the left
    for angle in range(-90, 91, 3):
        rad = math.radians(angle)
        x = 157 + 5.5 * math.cos(rad)
        y = 14 + 5 * math.sin(rad)
        img.set(round(x), round(y), INK)
        img.set(round(x - 0.7 * math.cos(rad)), round(y - 0.7 * math.sin(rad)), INK)
    img.line(152, 9, 157, 9, INK)
    img.line(152, 10, 157, 10, INK)
    img.line(151, 19, 157, 19, INK)
    img.line(151, 18, 157, 18, INK)
    img.polygon([(147.5, 9.5), (152.5, 4.5), (152.5, 14.5)], INK)
    # 7 save, zone (169,3)-(195,23): a floppy disk
    img.fill(175, 6, 189, 20, INK)
    img.set(189, 6, BACKGROUND)
    img.fill(178, 6, 186, 10, DISK_SHUTTER)
    img.fill(183, 7, 184, 9, INK)
    img.fill(177, 13, 187, 20, WHITE)
    img.line(178, 15, 186, 15, INK_LIGHT)
    img.line(178, 17, 186, 17, INK_LIGHT)

    # divider between save and cancel
    img.line(199, 4, 199, 21, DIVIDER_DARK)
    img.line(200, 4, 200, 21, WHITE)

    # 8 cancel, zone (203,3)-(229,23): a red cross
    img.line(211, 8, 221, 18, RED, thickness=3)
    img.line(221, 8, 211, 18, RED, thickness=3)
    # 9 done, zone (230,3)-(286,23): a green check mark and 完成
    img.line(238, 13, 242, 17, GREEN, thickness=3)
    img.line(242, 17, 250, 8, GREEN, thickness=3)
    img.glyph(254, 7, GLYPH_WAN, INK)
    img.glyph(268, 7, GLYPH_CHENG, INK)
    return img


def divider():
    img = Image(5, 28, BACKGROUND)
    img.line(2, 0, 2, 27, DIVIDER_DARK)
    img.line(3, 0, 3, 27, WHITE)
    return img


def chevron():
    img = Image(14, 14, TRACK)
    for i in range(4):  # a "v" two pixels wide, rows 5 to 8, its point at (6..7, 8)
        for x in (3 + i, 4 + i, 9 - i, 10 - i):
            img.set(x, 5 + i, CHEVRON)
    return img


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, image in (('toolbar', toolbar()), ('divider', divider()), ('chevron', chevron())):
        with open(os.path.join(here, name + '.bmp'), 'wb') as f:
            f.write(image.bmp())


if __name__ == '__main__':
    main()
