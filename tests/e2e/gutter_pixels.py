"""Checks two screenshots of the editor, with line numbers on and off, by
their pixels: the strip holds dark digits and the text starts right of it,
moved by exactly the strip's width and otherwise drawn the same.
Usage: gutter_pixels.py on.ppm off.ppm left top right bottom"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    assert fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit PPM"
    width, height = int(fields[1]), int(fields[2])
    return width, data[pos + 1:]


def main():
    on_width, on = read_ppm(sys.argv[1])
    off_width, off = read_ppm(sys.argv[2])
    left, top, right, bottom = (int(v) for v in sys.argv[3:7])

    def pixel(image, width, x, y):
        i = (y * width + x) * 3
        return image[i], image[i + 1], image[i + 2]

    def dark(image, width, x, y):
        return max(pixel(image, width, x, y)) < 90

    rows = range(top, bottom)
    white = pixel(off, off_width, right - 3, bottom - 3)
    gray = pixel(on, on_width, left + 1, bottom - 3)
    if gray == white:
        sys.exit("FAIL: no strip of its own colour at the left edge")
    # The separator is the one full-height column of the text background
    # inside the strip; the strip ends one column after it.
    separator = next((x for x in range(left + 2, right)
                      if all(pixel(on, on_width, x, y) == white for y in rows)
                      and pixel(on, on_width, x + 1, bottom - 3) == gray), None)
    if separator is None:
        sys.exit("FAIL: no separator column found")
    strip = separator - left + 2
    digits = sum(dark(on, on_width, x, y) for x in range(left, separator) for y in rows)
    if digits < 20:
        sys.exit("FAIL: only %d dark pixels in the strip" % digits)

    band = range(top, min(bottom, top + 60))  # the first lines, away from the caret

    def first_text_column(image, width, start):
        return next((x for x in range(start, right)
                     if any(dark(image, width, x, y) for y in band)), None)

    text_on = first_text_column(on, on_width, left + strip)
    text_off = first_text_column(off, off_width, left)
    if text_on is None or text_off is None:
        sys.exit("FAIL: no text found")
    if text_on - text_off != strip:
        sys.exit("FAIL: text starts at %d with numbers, %d without; strip is %d wide"
                 % (text_on - left, text_off - left, strip))
    span = range(text_off, min(right - strip, text_off + 150))
    differing = sum(dark(on, on_width, x + strip, y) != dark(off, off_width, x, y)
                    for x in span for y in band)
    if differing > len(span) * len(band) // 100:
        sys.exit("FAIL: %d pixels of the shifted text differ" % differing)
    print("ok: strip %d px wide, %d dark digit pixels, text from x=%d (x=%d without numbers)"
          % (strip, digits, text_on - left, text_off - left))


if __name__ == "__main__":
    main()
