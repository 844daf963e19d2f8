#!/usr/bin/env python3
"""Draw the toolbar bitmaps and the program icon into resources/.

Writes toolbar16.bmp, toolbar20.bmp, toolbar24.bmp and toolbar32.bmp
(the toolbar's images side by side at that height, 4 bits per pixel) and
scrivlet.ico (16 hand-drawn, and 20 to 64 pixels; 4 bits per pixel with AND masks).
Only the standard library is used, so the images can be rebuilt on any
machine that has python3.  Run from anywhere:  python3 scripts/make_images.py
"""

import os
import struct
import sys

# The standard 16-colour VGA palette.  The toolbar maps silver (index 7)
# to the button face, so every toolbar image is drawn on silver.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# One letter per pixel in the drawings below.
INK = {
    '.': 7,   # silver: background, shown as button face
    'K': 0,   # black
    'G': 8,   # grey
    'N': 4,   # navy
    'B': 12,  # blue
    'W': 15,  # white
    'Y': 11,  # yellow
    'O': 3,   # olive
    'C': 14,  # cyan
    'L': 10,  # lime
}

# The toolbar strip: one image per slot, in the order of the common
# controls' standard images, so that the button table's image numbers keep
# their meaning; then word wrap and execute.  Slots the toolbar does not use
# stay empty.  Each drawing is a list of shapes on a 16-unit grid, drawn
# again at every size so that edges fall on whole pixels and stay sharp.
TOOLBAR_SIZES = (16, 20, 24, 32)

TOOLBAR_IMAGES = [
    # 0 cut: two blades crossing above two finger rings
    [('line', 5, 10, 11, 1, 'K'), ('line', 11, 10, 5, 1, 'K'),
     ('ring', 4.5, 12.5, 2.5, 'N'), ('ring', 11.5, 12.5, 2.5, 'N')],
    # 1 copy: two pages, the front one written on
    [('page', 1, 1, 10, 11), ('page', 6, 5, 15, 15),
     ('rect', 8, 8, 13, 9, 'N'), ('rect', 8, 11, 13, 12, 'N')],
    # 2 paste: a clipboard with a page in front
    [('box', 1, 2, 12, 15, 'K', 'O'), ('rect', 4, 1, 9, 4, 'G'),
     ('page', 7, 6, 15, 15), ('rect', 9, 9, 13, 10, 'N'), ('rect', 9, 12, 13, 13, 'N')],
    # 3 undo: an arrow pointing left that comes round from below
    [('poly', [(1, 5), (6, 1), (6, 9)], 'B'), ('line', 6, 5, 10, 5, 'B'),
     ('line', 10, 5, 13, 8, 'B'), ('line', 13, 8, 10, 11, 'B'), ('line', 10, 11, 6, 11, 'B')],
    # 4 redo: the same, mirrored
    [('poly', [(15, 5), (10, 1), (10, 9)], 'B'), ('line', 10, 5, 6, 5, 'B'),
     ('line', 6, 5, 3, 8, 'B'), ('line', 3, 8, 6, 11, 'B'), ('line', 6, 11, 10, 11, 'B')],
    # 5 (delete) unused
    [],
    # 6 new: an empty page with a folded corner
    [('page', 3, 1, 13, 15), ('poly', [(9, 1), (13, 5), (9, 5)], 'G')],
    # 7 open: a yellow folder
    [('box', 1, 5, 15, 14, 'K', 'Y'), ('box', 1, 3, 7, 6, 'K', 'Y')],
    # 8 save: a diskette with its label and shutter
    [('box', 1, 1, 15, 15, 'K', 'N'), ('rect', 4, 2, 12, 7, 'W'), ('rect', 5, 10, 11, 15, 'G'),
     ('rect', 8, 11, 10, 14, 'N')],
    # 9 (print preview) unused
    [],
    # 10 properties: a sheet of ticked lines
    [('page', 2, 1, 14, 15), ('rect', 4, 4, 6, 6, 'K'), ('rect', 7, 4, 12, 5, 'N'),
     ('rect', 4, 8, 6, 10, 'K'), ('rect', 7, 8, 12, 9, 'N'),
     ('rect', 4, 12, 6, 14, 'K'), ('rect', 7, 12, 12, 13, 'N')],
    # 11 (help) unused
    [],
    # 12 find: a magnifying glass
    [('disc', 6.5, 6.5, 4.5, 'C'), ('ring', 6.5, 6.5, 4.5, 'K'), ('line', 10, 10, 14, 14, 'N'),
     ('line', 11, 10, 15, 14, 'N')],
    # 13 replace: a written page and a smaller glass over it
    [('page', 1, 1, 10, 12), ('rect', 3, 4, 8, 5, 'N'), ('rect', 3, 7, 8, 8, 'N'),
     ('disc', 10.5, 10, 3, 'C'), ('ring', 10.5, 10, 3, 'K'), ('line', 13, 12.5, 15, 14.5, 'N')],
    # 14 print: a printer with paper going in and coming out
    [('box', 4, 1, 12, 8, 'K', 'W'), ('box', 1, 7, 15, 13, 'K', 'G'), ('rect', 11, 9, 13, 10, 'L'),
     ('box', 4, 11, 12, 15, 'K', 'W')],
    # 15 word wrap: a bold W
    [('line', 2, 3, 5, 13, 'K'), ('line', 5, 13, 8, 6, 'K'), ('line', 8, 6, 11, 13, 'K'),
     ('line', 11, 13, 14, 3, 'K'), ('line', 3, 3, 6, 13, 'K'), ('line', 10, 13, 13, 3, 'K')],
    # 16 execute: a program window
    [('box', 1, 2, 14, 14, 'G', 'W'), ('rect', 2, 3, 13, 6, 'N'), ('rect', 3, 4, 7, 5, 'W'),
     ('rect', 14, 3, 15, 15, 'K'), ('rect', 2, 14, 15, 15, 'K')],
]

# Icon drawings: ' ' is transparent (AND mask bit set).
ICON16 = [
    "                ",
    "  KKKKKKKKK     ",
    "  KWWWWWWWKBK   ",
    "  KWWWWWWWKBBK  ",
    "  KWNNNNWWKKKKK ",
    "  KWWWWWWWWWWWK ",
    "  KWNNNNNNNNWWK ",
    "  KWWWWWWWWWWWK ",
    "  KWNNNNNNNWWWK ",
    "  KWWWWWWWWWWWK ",
    "  KWNNNNNNNNWWK ",
    "  KWWWWWWWWWWWK ",
    "  KWNNNNNWWWWWK ",
    "  KWWWWWWWWWWWK ",
    "  KKKKKKKKKKKKK ",
    "                ",
]


# Sizes of the program icon beyond the hand-drawn 16: the window's icons at
# 120 to 200 percent (20/40, 24/48, 32/64) and the tray's.
ICON_SIZES = (20, 24, 32, 40, 48, 64)


def draw_icon(size):
    """A page: black outline, white paper, folded blue corner, navy text
    lines of varying length; laid out on a 32-unit grid and scaled, with
    lines as thick as the scale."""
    scale = size / 32.0
    pen = max(1, int(scale + 0.5))
    rows = [[' '] * size for _ in range(size)]
    # Outline, inclusive.
    left, top = int(5 * scale + 0.5), int(2 * scale + 0.5)
    right, bottom = size - 1 - left, size - 1 - top
    fold = int(7 * scale + 0.5)               # size of the folded corner
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            # Cut the top-right corner off the sheet along a diagonal.
            if y - top < fold and x > right - fold + (y - top):
                continue
            edge = x < left + pen or x > right - pen or y < top + pen or y > bottom - pen
            rows[y][x] = 'K' if edge else 'W'
    # The diagonal edge of the cut and the folded-over flap in blue.
    for i in range(fold + 1):
        for t in range(pen):
            rows[top + i][right - fold + i - t] = 'K'
    for y in range(top, top + fold + 1):
        for x in range(right - fold, right + 1):
            dy, dx = y - top, x - (right - fold)
            if dx < pen and dy <= fold:
                rows[y][x] = 'K'          # crease, vertical
            elif fold - pen < dy <= fold and dx <= fold:
                rows[y][x] = 'K'          # crease, horizontal
            elif pen <= dx < fold and dy < fold and dx < dy - pen + 1:
                rows[y][x] = 'B'          # flap below the diagonal
    # Text lines, on the 32-unit grid's lengths.
    lengths = [12, 15, 9, 15, 13, 6, 15, 11, 14, 8]
    y = top + int(6 * scale + 0.5)
    x0 = left + pen + int(2 * scale + 0.5)
    for length in lengths:
        if y + pen > bottom - int(2 * scale + 0.5):
            break
        length = int(length * scale + 0.5)
        # The first lines stop short of the folded corner.
        limit = right - fold - pen - 1 if y <= top + fold else right - pen - 1
        for x in range(x0, min(x0 + length, limit)):
            for t in range(pen):
                rows[y + t][x] = 'N'
        y += 2 * pen
    return [''.join(r) for r in rows]


def check_drawing(name, rows, width, height, inks):
    if len(rows) != height or any(len(r) != width for r in rows):
        raise ValueError("%s: drawing is not %dx%d" % (name, width, height))
    bad = set(''.join(rows)) - set(inks)
    if bad:
        raise ValueError("%s: unknown pixel letters %r" % (name, sorted(bad)))


class Canvas:
    """Pixels of one toolbar image, drawn from shapes on the 16-unit grid."""

    def __init__(self, size):
        self.size = size
        self.pen = max(1, round(size / 16))
        self.pixels = [[INK['.']] * size for _ in range(size)]

    def at(self, units):
        return int(round(units * self.size / 16.0))

    def put(self, x, y, ink):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = INK[ink]

    def rect(self, x0, y0, x1, y1, ink):
        for y in range(self.at(y0), self.at(y1)):
            for x in range(self.at(x0), self.at(x1)):
                self.put(x, y, ink)

    def box(self, x0, y0, x1, y1, edge, fill):
        """A filled rectangle with an edge one pen wide inside it."""
        left, top, right, bottom = self.at(x0), self.at(y0), self.at(x1), self.at(y1)
        for y in range(top, bottom):
            for x in range(left, right):
                inner = (left + self.pen <= x < right - self.pen and
                         top + self.pen <= y < bottom - self.pen)
                self.put(x, y, fill if inner else edge)

    def line(self, x0, y0, x1, y1, ink):
        """Bresenham's line, a pen wide, between the two pixel ends."""
        ax, ay = min(self.at(x0), self.size - 1), min(self.at(y0), self.size - 1)
        bx, by = min(self.at(x1), self.size - 1), min(self.at(y1), self.size - 1)
        dx, dy = abs(bx - ax), -abs(by - ay)
        sx, sy = (1 if ax < bx else -1), (1 if ay < by else -1)
        err = dx + dy
        while True:
            for py in range(self.pen):
                for px in range(self.pen):
                    self.put(ax - (self.pen - 1) // 2 + px, ay - (self.pen - 1) // 2 + py, ink)
            if ax == bx and ay == by:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                ax += sx
            if e2 <= dx:
                err += dx
                ay += sy

    def inside_circle(self, x, y, cx, cy, radius):
        scale = self.size / 16.0
        return (x + 0.5 - cx * scale) ** 2 + (y + 0.5 - cy * scale) ** 2 <= (radius * scale) ** 2

    def disc(self, cx, cy, radius, ink):
        for y in range(self.size):
            for x in range(self.size):
                if self.inside_circle(x, y, cx, cy, radius):
                    self.put(x, y, ink)

    def ring(self, cx, cy, radius, ink):
        inner = radius - self.pen * 16.0 / self.size
        for y in range(self.size):
            for x in range(self.size):
                if (self.inside_circle(x, y, cx, cy, radius) and
                        not self.inside_circle(x, y, cx, cy, inner)):
                    self.put(x, y, ink)

    def poly(self, points, ink):
        scaled = [(px * self.size / 16.0, py * self.size / 16.0) for px, py in points]
        for y in range(self.size):
            for x in range(self.size):
                if point_in_polygon(x + 0.5, y + 0.5, scaled):
                    self.put(x, y, ink)

    def page(self, x0, y0, x1, y1):
        self.box(x0, y0, x1, y1, 'K', 'W')

    def draw(self, shape):
        getattr(self, shape[0])(*shape[1:])


def point_in_polygon(x, y, points):
    inside = False
    for i in range(len(points)):
        (ax, ay), (bx, by) = points[i], points[i - 1]
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return inside


def draw_toolbar_strip(size):
    """Every toolbar image at one size, side by side: rows of palette indices."""
    rows = [[] for _ in range(size)]
    for shapes in TOOLBAR_IMAGES:
        canvas = Canvas(size)
        for shape in shapes:
            canvas.draw(shape)
        for y in range(size):
            rows[y] += canvas.pixels[y]
    return rows


def palette_bytes():
    # Windows stores palette entries as blue, green, red, reserved.
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)


def pack_4bpp(indices_rows):
    """Rows top to bottom -> bottom-up 4bpp pixel data, rows padded to 4 bytes."""
    out = bytearray()
    for row in reversed(indices_rows):
        line = bytearray()
        for i in range(0, len(row), 2):
            hi = row[i]
            lo = row[i + 1] if i + 1 < len(row) else 0
            line.append((hi << 4) | lo)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def pack_mask(mask_rows):
    """Rows of booleans (True = transparent) -> bottom-up 1bpp AND mask."""
    out = bytearray()
    for row in reversed(mask_rows):
        line = bytearray((len(row) + 7) // 8)
        for x, transparent in enumerate(row):
            if transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0,
                       image_size, 0, 0, 16, 0)


def make_bmp(index_rows):
    width, height = len(index_rows[0]), len(index_rows)
    pixels = pack_4bpp(index_rows)
    header = info_header(width, height, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    filehdr = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return filehdr + header + pixels


def make_icon_image(rows):
    size = len(rows)
    inks = dict(INK, **{' ': 0})
    check_drawing('icon', rows, size, size, inks)
    # Transparent pixels are black in the colour plane so that the
    # AND/XOR combination leaves the screen untouched there.
    xor = pack_4bpp([[inks[c] for c in r] for r in rows])
    mask = pack_mask([[c == ' ' for c in r] for r in rows])
    # The height in an icon's header counts colour plane and mask together.
    header = info_header(size, size * 2, len(xor) + len(mask))
    return header + palette_bytes() + xor + mask


def make_ico(drawings):
    images = [make_icon_image(d) for d in drawings]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for d, img in zip(drawings, images):
        size = len(d)
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    return out + b''.join(images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outdir = os.path.join(root, 'resources')
    files = {'toolbar%d.bmp' % size: make_bmp(draw_toolbar_strip(size))
             for size in TOOLBAR_SIZES}
    files.update({
        'scrivlet.ico': make_ico([ICON16] + [draw_icon(size) for size in ICON_SIZES]),
    })
    for name, data in files.items():
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)
        print('wrote %s (%d bytes)' % (os.path.join('resources', name), len(data)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
