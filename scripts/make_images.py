#!/usr/bin/env python3
"""Draw the toolbar bitmaps and the program icon into resources/.

Writes wordwrap.bmp and execute.bmp (16x16, 4 bits per pixel) and
scrivlet.ico (16x16 and 32x32, 4 bits per pixel with AND masks).
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
}

WORDWRAP = [
    "................",
    "................",
    "................",
    "KKKK........KKKK",
    ".KK..........KK.",
    ".KK....KK....KK.",
    ".KK...KKKK...KK.",
    "..KK..KKKK..KK..",
    "..KK.KK..KK.KK..",
    "..KK.KK..KK.KK..",
    "...KKKK..KKKK...",
    "...KKK....KKK...",
    "...KKK....KKK...",
    "....K......K....",
    "................",
    "................",
]

EXECUTE = [
    "................",
    "................",
    ".GGGGGGGGGGGGG..",
    ".GNNNNNNNNNNNGK.",
    ".GNWWWWNNKNKNGK.",
    ".GNNNNNNNNNNNGK.",
    ".GWWWWWWWWWWWGK.",
    ".GWWWWWWWWWWWGK.",
    ".GWWWWWWWWWWWGK.",
    ".GWWWWWWWWWWWGK.",
    ".GWWWWWWWWWWWGK.",
    ".GWWWWWWWWWWWGK.",
    ".GWWWWWWWWWWWGK.",
    ".GGGGGGGGGGGGGK.",
    "..KKKKKKKKKKKKK.",
    "................",
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


def draw_icon32():
    """A 32x32 page: black outline, white paper, folded blue corner,
    navy text lines of varying length."""
    w = h = 32
    rows = [[' '] * w for _ in range(h)]
    left, top, right, bottom = 5, 2, 26, 29   # outline, inclusive
    fold = 7                                  # size of the folded corner
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            # Cut the top-right corner off the sheet along a diagonal.
            if y - top < fold and x > right - fold + (y - top):
                continue
            edge = x in (left, right) or y in (top, bottom)
            rows[y][x] = 'K' if edge else 'W'
    # The diagonal edge of the cut and the folded-over flap in blue.
    for i in range(fold + 1):
        rows[top + i][right - fold + i] = 'K'
    for y in range(top, top + fold + 1):
        for x in range(right - fold, right + 1):
            dy, dx = y - top, x - (right - fold)
            if dx == 0 and dy <= fold:
                rows[y][x] = 'K'          # crease, vertical
            elif dy == fold and dx <= fold:
                rows[y][x] = 'K'          # crease, horizontal
            elif 0 < dx < fold and dy < fold and dx < dy:
                rows[y][x] = 'B'          # flap below the diagonal
    # Text lines.
    lengths = [12, 15, 9, 15, 13, 6, 15, 11, 14, 8]
    y = top + 6
    for n, length in enumerate(lengths):
        if y > bottom - 3:
            break
        x0 = left + 3
        # The first line stops short of the folded corner.
        length = min(length, right - fold - 2 - x0) if y <= top + fold else length
        for x in range(x0, x0 + length):
            rows[y][x] = 'N'
        y += 2
    return [''.join(r) for r in rows]


def check_drawing(name, rows, width, height, inks):
    if len(rows) != height or any(len(r) != width for r in rows):
        raise ValueError("%s: drawing is not %dx%d" % (name, width, height))
    bad = set(''.join(rows)) - set(inks)
    if bad:
        raise ValueError("%s: unknown pixel letters %r" % (name, sorted(bad)))


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


def make_bmp(rows):
    check_drawing('bitmap', rows, 16, 16, INK)
    pixels = pack_4bpp([[INK[c] for c in r] for r in rows])
    header = info_header(16, 16, len(pixels)) + palette_bytes()
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
    files = {
        'wordwrap.bmp': make_bmp(WORDWRAP),
        'execute.bmp': make_bmp(EXECUTE),
        'scrivlet.ico': make_ico([ICON16, draw_icon32()]),
    }
    for name, data in files.items():
        with open(os.path.join(outdir, name), 'wb') as f:
            f.write(data)
        print('wrote %s (%d bytes)' % (os.path.join('resources', name), len(data)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
