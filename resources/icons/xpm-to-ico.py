#!/usr/bin/env python3
"""Makes the Windows icon file of a drawing: the sizes that the desktop's icon theme gets on
Linux (resources/CMakeLists.txt), from the same 16 and 32 pixel XPM drawings, each image stored
as a PNG inside the .ico, as Windows reads them since Vista.

    xpm-to-ico.py OUT.ico SMALL.xpm LARGE.xpm

Standard library only; the drawing is read and scaled by xpm-to-png.py.
"""

import importlib.util
import struct
import sys
from pathlib import Path

_spec = importlib.util.spec_from_file_location(
    "xpm_to_png", Path(__file__).with_name("xpm-to-png.py"))
xpm = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(xpm)

# SIZE, the drawing (16 or 32) and how it grows: a whole scale, or "canvas" for centring.
RECIPES = [(16, 16, 1), (24, 16, "canvas"), (32, 32, 1), (48, 16, 3), (64, 32, 2),
           (128, 32, 4), (256, 32, 8)]


def image(drawing, how, size):
    width, height, rows = drawing
    if how == "canvas":
        return xpm.png_bytes(*xpm.centre(width, height, rows, size))
    return xpm.png_bytes(*xpm.scale_up(width, height, rows, how))


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    target, small, large = sys.argv[1:]
    drawings = {16: xpm.read_xpm(small), 32: xpm.read_xpm(large)}
    images = [(size, image(drawings[drawing], how, size)) for size, drawing, how in RECIPES]
    # ICONDIR, then one ICONDIRENTRY per image (a side of 256 is written as 0), then the images.
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, png in images:
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(png), offset)
        offset += len(png)
    out += b"".join(png for _, png in images)
    Path(target).write_bytes(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
