#!/usr/bin/env python3
"""Checks the staged hicolor icons against their XPM drawings, pixel by pixel.

    check-icons.py STAGE ICON_SOURCE_DIR

Each size the icon theme looks for must be there for the program (apps/velk.png) and for world
files (mimetypes/application-x-velk-world.png). The rule it checks, stated apart from the build's
table: a size takes the largest drawing (16 or 32 pixels) it is a whole multiple of, each pixel
blown up to a square; a size that is a multiple of neither shows the largest smaller drawing,
centred on a transparent canvas.
"""

import importlib.util
import struct
import sys
import zlib
from pathlib import Path

SIZES = (16, 24, 32, 48, 64, 128, 256)
DRAWINGS = (32, 16)
ICONS = (("apps/velk.png", "velk"), ("mimetypes/application-x-velk-world.png", "velk-doc"))


def read_png(path):
    """Width, height and rows of RGBA tuples of an 8-bit RGBA PNG, any row filter."""
    data = Path(path).read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    position, chunks, header = 8, b"", None
    while position < len(data):
        (length,) = struct.unpack(">I", data[position : position + 4])
        kind = data[position + 4 : position + 8]
        body = data[position + 8 : position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks += body
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError("not 8-bit RGBA without interlacing")
    raw, stride, rows, previous = zlib.decompress(chunks), width * 4, [], bytes(width * 4)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b, c = previous[x], previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + b) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                nearest = min((abs(p - a), 0, a), (abs(p - b), 1, b), (abs(p - c), 2, c))[2]
                line[x] = (line[x] + nearest) & 0xFF
        previous = bytes(line)
        rows.append([tuple(line[i : i + 4]) for i in range(0, stride, 4)])
    return width, height, rows


def expected(size, drawings):
    """The pixel rows the icon of this size must have, from the drawings by size."""
    for drawing in DRAWINGS:
        if size % drawing == 0:
            scale, rows = size // drawing, drawings[drawing]
            return [[row[x // scale] for x in range(size)] for row in rows for _ in range(scale)]
    drawing = max(d for d in DRAWINGS if d < size)
    margin, clear = (size - drawing) // 2, (0, 0, 0, 0)
    canvas = [[clear] * size for _ in range(size)]
    for y, row in enumerate(drawings[drawing]):
        canvas[margin + y][margin : margin + drawing] = row
    return canvas


def main():
    stage, sources = Path(sys.argv[1]), Path(sys.argv[2])
    found = importlib.util.spec_from_file_location("xpm_to_png", sources / "xpm-to-png.py")
    xpm = importlib.util.module_from_spec(found)
    found.loader.exec_module(xpm)
    themes = [path for path in stage.rglob("hicolor") if path.is_dir()]
    if len(themes) != 1:
        print(f"expected one hicolor folder under {stage}, found {len(themes)}")
        return 1

    faults = []
    for icon, prefix in ICONS:
        drawings = {d: xpm.read_xpm(sources / f"{prefix}-{d}.xpm")[2] for d in DRAWINGS}
        for size in SIZES:
            path = themes[0] / f"{size}x{size}" / icon
            try:
                width, height, rows = read_png(path)
            except (OSError, ValueError) as error:
                faults.append(f"{path}: {error}")
                continue
            if (width, height) != (size, size):
                faults.append(f"{path}: {width}x{height}, not {size}x{size}")
            elif rows != expected(size, drawings):
                faults.append(f"{path}: the pixels are not those of the {prefix} drawing")
    print("\n".join(faults) or f"{len(ICONS) * len(SIZES)} icons match their drawings")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
