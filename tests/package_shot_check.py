"""Reads a screenshot (binary PPM) of the unpacked release's first start and
checks that it shows the calendar as the README's picture: the cell frames
(long black lines), the weekday names above them (Sunday red, Saturday
blue) and the month title above those.

usage: package_shot_check.py SHOT.ppm
"""
import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        start = position
        while not data[position:position + 1].isspace():
            position += 1
        fields.append(data[start:position])
    assert fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit PPM"
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + width * height * 3]
    return width, height, pixels


def main():
    width, height, pixels = read_ppm(sys.argv[1])

    def rgb(x, y):
        i = (y * width + x) * 3
        return pixels[i], pixels[i + 1], pixels[i + 2]

    def black(p):
        return max(p) < 90

    def is_frame_line(y):
        # A thin black line: at least 150 pixels long, with no black a few
        # rows above and below its middle (a black desktop is no line).
        run = 0
        for x in range(width + 1):
            if x < width and black(rgb(x, y)):
                run += 1
                continue
            if run >= 150:
                middle = x - run // 2
                if 3 <= y < height - 3 and not black(rgb(middle, y - 3)) and not black(rgb(middle, y + 3)):
                    return x - run, x
            run = 0
        return None

    spans = {y: is_frame_line(y) for y in range(height)}
    lines = [y for y in range(height) if spans[y]]
    # Neighbouring rows of one thick line count once.
    frames = [y for i, y in enumerate(lines) if i == 0 or lines[i - 1] != y - 1]
    problems = []
    if len(frames) < 6:
        problems.append(f"{len(frames)} long horizontal frame lines, expected the grid's (6 or more)")
    def colours_above(y):
        left, right = spans[y]  # the grid's width: the desktop beside it does not count
        header = [rgb(x, row) for row in range(max(0, y - 24), y) for x in range(left, right)]
        red = sum(1 for r, g, b in header if r > 180 and g < 90 and b < 90)
        blue = sum(1 for r, g, b in header if b > 180 and r < 90 and g < 90)
        return red, blue

    if frames:
        # The grid's top line is the first with the weekday names above it;
        # the tool strip's lower edge, higher up, is a long line too.
        tops = [y for y in frames if min(colours_above(y)) >= 8]
        top = tops[0] if tops else frames[0]
        left, right = spans[top]
        red, blue = colours_above(top)
        if red < 8 or blue < 8:
            problems.append(f"weekday names: {red} red and {blue} blue pixels above the grid")
        # The band just above the weekday names, clear of the window caption.
        title = [rgb(x, y) for y in range(max(0, top - 48), max(0, top - 26)) for x in range(left, right)]
        dark = sum(1 for p in title if black(p))
        if dark < 60:
            problems.append(f"the month title: only {dark} dark pixels in the band above the weekdays")
    for problem in problems:
        print("FAIL: " + problem)
    print(f"screenshot {width}x{height}: frame lines at {frames}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
