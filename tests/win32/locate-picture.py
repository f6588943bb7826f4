#!/usr/bin/env python3
"""Prints "LEFT TOP" of the one place where PICTURE.png appears on SCREEN.png, pixel for pixel
(red, green and blue; alpha is left out); fails when it appears nowhere or more than once.

    locate-picture.py [--scale N] SCREEN.png PICTURE.png

With --scale N the picture is first blown up N times, each pixel an N by N block, as a screen
scaled by N shows it when nothing blurs.

Reads 8-bit, non-interlaced RGB and RGBA PNG files, as ImageMagick's import and velk --render
write them. Standard library only.
"""

import struct
import sys
import zlib


def read_png(path):
    """Width, height and the pixels as bytes, three per pixel, row after row."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is no PNG file")
    at, header, compressed = 8, None, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit non-interlaced RGB or RGBA is read")
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(compressed)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                guess = left + up - corner
                near = min((abs(guess - left), 0, left), (abs(guess - up), 1, up),
                           (abs(guess - corner), 2, corner))[2]
                line[i] = (line[i] + near) & 0xFF
        rows.append(bytes(line) if channels == 3 else
                    bytes(b for p in range(width) for b in line[p * 4:p * 4 + 3]))
        previous = line
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
