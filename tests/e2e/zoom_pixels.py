"""Measures a screenshot of the editor with line numbers on: the first
line's number in the gutter against the first line's text, which is capital
letters (no descenders), so the lowest ink row is the baseline and the ink's
height is the digits' and capitals' height. Prints the figures; fails when
the number's baseline or height is not the text's.
Usage: zoom_pixels.py shot.ppm left top right bottom [expected_text_height]"""
import sys

from gutter_pixels import read_ppm


def main():
    width, image = read_ppm(sys.argv[1])
    left, top, right, bottom = (int(v) for v in sys.argv[2:6])
    expected = float(sys.argv[6]) if len(sys.argv) > 6 else None

    def pixel(x, y):
        i = (y * width + x) * 3
        return image[i], image[i + 1], image[i + 2]

    # Dark and grey pixels of the glyphs; not the strip, the pale text
    # background or the separator.
    def ink(x, y):
        return sum(pixel(x, y)) < 3 * 180

    strip_colour = pixel(left + 1, bottom - 3)
    separator = next((x for x in range(left + 1, right) if pixel(x, bottom - 3) != strip_colour), None)
    if separator is None or separator - left < 8:
        sys.exit("FAIL: no gutter strip found")

    def first_ink_run(x0, x1):
        rows = [y for y in range(top, bottom) if any(ink(x, y) for x in range(x0, x1))]
        if not rows:
            return None
        run_end = rows[0]
        for y in rows[1:]:
            if y != run_end + 1:
                break
            run_end = y
        return rows[0], run_end

    digit = first_ink_run(left, separator - 1)
    text = first_ink_run(separator + 2, min(right - 20, separator + 300))
    if digit is None or text is None:
        sys.exit("FAIL: no ink for the number (%s) or the text (%s)" % (digit, text))
    digit_height = digit[1] - digit[0] + 1
    text_height = text[1] - text[0] + 1
    print("strip %d, number rows %d..%d (%d high), text rows %d..%d (%d high)"
          % (separator - left, digit[0], digit[1], digit_height, text[0], text[1], text_height))
    if abs(digit[1] - text[1]) > 1:
        sys.exit("FAIL: the number's baseline %d is not the text's %d" % (digit[1], text[1]))
    if abs(digit_height - text_height) > max(2, text_height // 8):
        sys.exit("FAIL: the number is %d pixels high, the text %d" % (digit_height, text_height))
    if expected is not None and abs(text_height - expected) > max(2, expected / 8):
        sys.exit("FAIL: the text is %d pixels high, %.1f expected at this zoom" % (text_height, expected))


main()
