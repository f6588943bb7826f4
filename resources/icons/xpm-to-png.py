#!/usr/bin/env python3
"""Makes the PNG twin of each icon: the XPM files are the icons' source, the PNGs are what the
program and the desktop take.

    xpm-to-png.py                  converts every *.xpm beside this script
    xpm-to-png.py IN.xpm OUT.png   converts one file
    xpm-to-png.py --scale 8 IN.xpm OUT.png   the same, each pixel an 8 by 8 block
    xpm-to-png.py --canvas 24 IN.xpm OUT.png the picture centred on a transparent 24 by 24 canvas

The icon theme's larger sizes are made with --scale from the 16 and 32 pixel drawings: every
pixel becomes a square block, so the edges stay as sharp as drawn. A size that no whole
multiple reaches (24) takes --canvas instead. Only the XPM that we write is understood: colours as #RRGGBB or None (transparent), the colour
key "c", any number of characters per pixel. Standard library only.
"""

import argparse
import re
import struct
import sys
import zlib
from pathlib import Path


def read_xpm(path):
    """Returns width, height and rows of (red, green, blue, alpha) pixels."""
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', Path(path).read_text(encoding="ascii"))
    if not strings:
        raise ValueError("no XPM strings")
    values = strings[0].split()
    if len(values) < 4:
        raise ValueError(f"bad XPM values line {strings[0]!r}")
    width, height, colours, per_pixel = (int(v) for v in values[:4])
    if len(strings) != 1 + colours + height:
        raise ValueError(f"expected {1 + colours + height} strings, found {len(strings)}")

    table = {}
    for entry in strings[1 : 1 + colours]:
        key, rest = entry[:per_pixel], entry[per_pixel:].split()
        if "c" not in rest or rest.index("c") + 1 >= len(rest):
            raise ValueError(f"colour entry without a 'c' value: {entry!r}")
        value = rest[rest.index("c") + 1]
        if value.lower() == "none":
            table[key] = (0, 0, 0, 0)
        elif re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            table[key] = tuple(int(value[i : i + 2], 16) for i in (1, 3, 5)) + (255,)
        else:
            raise ValueError(f"colour {value!r} is not #RRGGBB or None")

    rows = []
    for number, line in enumerate(strings[1 + colours :], start=1):
        if len(line) != width * per_pixel:
            raise ValueError(f"pixel row {number} has {len(line)} characters, not {width * per_pixel}")
        keys = [line[i : i + per_pixel] for i in range(0, len(line), per_pixel)]
        unknown = [k for k in keys if k not in table]
        if unknown:
            raise ValueError(f"pixel row {number} uses colour {unknown[0]!r}, which is not defined")
        rows.append([table[k] for k in keys])
    return width, height, rows


def png_bytes(width, height, rows):
    """8-bit RGBA, no filtering; the files are tiny either way."""

    def chunk(kind, data):
        crc = zlib.crc32(kind + data) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)

    raw = b"".join(b"\x00" + b"".join(bytes(pixel) for pixel in row) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    return png + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def write_png(path, width, height, rows):
    Path(path).write_bytes(png_bytes(width, height, rows))


def scale_up(width, height, rows, scale):
    """Each pixel becomes a scale by scale block."""
    rows = [[pixel for pixel in row for _ in range(scale)] for row in rows for _ in range(scale)]
    return width * scale, height * scale, rows


def centre(width, height, rows, size):
    """The picture in the middle of a transparent size by size canvas."""
    if size < width or size < height:
        raise ValueError(f"a {width}x{height} picture does not fit on a {size}x{size} canvas")
    left, top = (size - width) // 2, (size - height) // 2
    clear = (0, 0, 0, 0)
    canvas = [[clear] * size for _ in range(size)]
    for y, row in enumerate(rows):
        canvas[top + y][left : left + width] = row
    return size, size, canvas


def convert(source, target, scale=1, canvas=None):
    width, height, rows = read_xpm(source)
    if scale > 1:
        width, height, rows = scale_up(width, height, rows, scale)
    if canvas is not None:
        width, height, rows = centre(width, height, rows, canvas)
    write_png(target, width, height, rows)


def main():
    parser = argparse.ArgumentParser(description="Convert XPM icons to PNG.")
    parser.add_argument("--scale", type=int, default=1, help="blow each pixel up to a square")
    parser.add_argument("--canvas", type=int, metavar="SIZE",
                        help="centre the picture on a transparent SIZE by SIZE canvas")
    parser.add_argument("files", nargs="*", metavar="IN.xpm OUT.png")
    args = parser.parse_args()
    if args.files and len(args.files) != 2:
        parser.error("give no file, or one XPM and one PNG")
    if args.scale < 1:
        parser.error("the scale must be at least 1")

    pairs = [tuple(args.files)] if args.files else [
        (xpm, xpm.with_suffix(".png")) for xpm in sorted(Path(__file__).parent.glob("*.xpm"))]
    for source, target in pairs:
        try:
            convert(source, target, args.scale, args.canvas)
        except (OSError, ValueError) as error:
            print(f"xpm-to-png.py: {source}: {error}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
