#!/usr/bin/env python3
"""Prints "LEFT TOP" of the one place where PICTURE.png appears on SCREEN.png, pixel for pixel
(red, green and blue; alpha is left out); fails when it appears nowhere or more than once.

    locate-picture.py [--scale N] SCREEN.png PICTURE.png

With --scale N the picture is first blown up N times, each pixel an N by N block, as a screen
scaled by N shows it when nothing blurs.

Reads 8-bit, non-interlaced RGB and RGBA PNG files, as ImageMagick's import and velk --render
write them. Standard library only.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from pngpixels import read_rgb  # noqa: E402


def read_png(path):
    """Width, height and the pixels as bytes, three per pixel, row after row."""
    width, height, rows = read_rgb(path)
    return width, height, b"".join(rows)


def main():
    arguments = sys.argv[1:]
    scale = 1
    if arguments[:1] == ["--scale"] and len(arguments) > 1:
        scale = int(arguments[1])
        arguments = arguments[2:]
    if len(arguments) != 2 or scale < 1:
        print(__doc__, file=sys.stderr)
        return 2
    sw, sh, screen = read_png(arguments[0])
    pw, ph, picture = read_png(arguments[1])
    if scale > 1:
        rows = [picture[y * pw * 3:(y + 1) * pw * 3] for y in range(ph)]
        wide = [b"".join(row[x * 3:x * 3 + 3] * scale for x in range(pw)) for row in rows]
        picture = b"".join(row for row in wide for _ in range(scale))
        pw, ph = pw * scale, ph * scale
    rows = [picture[y * pw * 3:(y + 1) * pw * 3] for y in range(ph)]
    found = []
    for top in range(sh - ph + 1):
        line = screen[top * sw * 3:(top + 1) * sw * 3]
        start = line.find(rows[0])
        while start >= 0:
            if start % 3 == 0:
                left = start // 3
                if all(screen[(top + y) * sw * 3 + left * 3:(top + y) * sw * 3 + (left + pw) * 3]
                       == rows[y] for y in range(ph)):
                    found.append((left, top))
            start = line.find(rows[0], start + 1)
    if len(found) != 1:
        print(f"locate-picture.py: the picture is on the screen {len(found)} times",
              file=sys.stderr)
        return 1
    print(*found[0])
    return 0


if __name__ == "__main__":
    sys.exit(main())
