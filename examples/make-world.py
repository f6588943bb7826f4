#!/usr/bin/env python3
"""Writes a large Velk world for benchmarks and for trying the program on a crowded world.

Every object gets three shapes drawn from all four kinds (discs, lines, rectangles and ellipses,
the last two filled or hollow), each 4 to 40 pixels across, in random colours. The numbers come
from a fixed seed and a generator of our own, so the same arguments give the same bytes on every
machine and every Python version. The text is exactly what Velk itself writes when it saves.

    make-world.py OUT [--objects N] [--width W] [--height H] [--seed S]
"""

import argparse
import os
import sys

MASK64 = (1 << 64) - 1


class SplitMix64:
    """A small, fully specified generator; Python's own may change between versions."""

    def __init__(self, seed):
        self.state = seed & MASK64

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & MASK64
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK64
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK64
        return z ^ (z >> 31)

    def between(self, low, high):
        """A number in low..high, both included."""
        return low + self.next() % (high - low + 1)


# The element texts, separators included, as Velk's writer puts them out.


def color(red, green, blue):
    return f"color {{ {red} {green} {blue} }}"


BLACK = color(0, 0, 0)


def point(colour, x, y, radius):
    return f"point {{ {colour} {x} {y} {radius} }} "


def line(colour, width, start, end):
    return f"line {{ {colour} {width} {start} {end} }} "


def flag(filled):
    return "t" if filled else "f"


def rectangle(colour, filled, corner1, corner2):
    return f"rectangle {{ {colour} {flag(filled)} {corner1}{corner2} }} "


def ellipse(colour, filled, left, top, right, bottom):
    # The writer puts out the ellipse's bounds as a plain black, hollow rectangle.
    bounds = rectangle(BLACK, False, point(BLACK, left, top, 0), point(BLACK, right, bottom, 0))
    return f"ellipse {{ {colour} {flag(filled)} {bounds} }} "


def draggable(x, y, shapes):
    lines = ["draggable { geometry { \n", "    " + point(BLACK, x, y, 0) + "\n"]
    lines += ["    " + shape + "\n" for shape in shapes]
    lines.append("}\n")
    lines.append(" } \n")
    return "".join(lines)


# Shapes lie within this distance of their object's position, so objects stay small.
REACH = 20


def random_shape(rng):
    colour = color(rng.between(0, 255), rng.between(0, 255), rng.between(0, 255))
    kind = rng.between(0, 3)
    if kind == 0:
        radius = rng.between(2, 20)
        reach = REACH - radius
        return point(colour, rng.between(-reach, reach), rng.between(-reach, reach), radius)
    if kind == 1:
        pen = rng.between(1, 4)
        across, down = rng.between(4, 40), rng.between(0, 40)
        if rng.between(0, 1) == 1:
            across, down = down, across
        left = rng.between(-REACH, REACH - across)
        top = rng.between(-REACH, REACH - down)
        x1, x2 = left, left + across
        if rng.between(0, 1) == 1:
            x1, x2 = x2, x1
        return line(colour, pen, point(BLACK, x1, top, 0), point(BLACK, x2, top + down, 0))
    width = rng.between(4, 40)
    height = rng.between(4, 40)
    left = rng.between(-REACH, REACH - width)
    top = rng.between(-REACH, REACH - height)
    filled = rng.between(0, 1) == 1
    if kind == 2:
        return rectangle(colour, filled, point(BLACK, left, top, 0),
                         point(BLACK, left + width, top + height, 0))
    return ellipse(colour, filled, left, top, left + width, top + height)


def world_text(objects, width, height, seed):
    """The file piece by piece, so that a world of any size takes little memory."""
    rng = SplitMix64(seed)
    yield f"{width} {height}\n\n"
    for _ in range(objects):
        x = rng.between(REACH, max(REACH, width - REACH))
        y = rng.between(REACH, max(REACH, height - REACH))
        shapes = [random_shape(rng) for _ in range(3)]
        yield draggable(x, y, shapes) + "\n"


def main():
    parser = argparse.ArgumentParser(description="Write a Velk world of many random objects.")
    parser.add_argument("out", help="path of the world file to write")
    parser.add_argument("--objects", type=int, default=10000, help="number of objects")
    parser.add_argument("--width", type=int, default=1024, help="world width")
    parser.add_argument("--height", type=int, default=1024, help="world height")
    parser.add_argument("--seed", type=int, default=1, help="seed of the random numbers")
    args = parser.parse_args()
    if args.objects < 0:
        parser.error("the number of objects must not be negative")
    if not (0 < args.width < 2**31 and 0 < args.height < 2**31):
        parser.error("width and height must be positive 32-bit numbers")

    # Write beside the target and rename, so a build that stops halfway leaves no torn file
    # that would look up to date.
    temporary = args.out + ".part"
    try:
        with open(temporary, "w", encoding="ascii", newline="\n") as out:
            out.writelines(world_text(args.objects, args.width, args.height, args.seed))
        os.replace(temporary, args.out)
    except OSError as error:
        print(f"make-world.py: cannot write {args.out}: {error.strerror}", file=sys.stderr)
        try:
            os.remove(temporary)
        except OSError:
            pass
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
