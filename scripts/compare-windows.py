#!/usr/bin/env python3
"""Runs velk --check and --render of the same worlds on Linux and, under Wine, on Windows, and
fails unless both give the same verdict, report and exit status, and pictures with the same
pixels. The PNG files themselves may differ: each system has its own encoder.

Usage: compare-windows.py LINUX_VELK WINDOWS_VELK WINE WORK_FOLDER WORLD...
"""
import os
import struct
import subprocess
import sys
import zlib


def pixels(path):
    """Width, height and RGB rows of an 8-bit RGB or RGBA PNG file without interlacing."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour in (2, 6) and interlace == 0, (path, header)
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(stride):
            a = row[x - step] if x >= step else 0
            b = previous[x]
            c = previous[x - step] if x >= step else 0
            if kind == 1:
                row[x] = (row[x] + a) & 255
            elif kind == 2:
                row[x] = (row[x] + b) & 255
            elif kind == 3:
                row[x] = (row[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[x] = (row[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = row
        rows.append(bytes(row) if step == 3 else bytes(v for i, v in enumerate(row) if i % 4 != 3))
    return width, height, rows


def run(command, env=None):
    done = subprocess.run(command, capture_output=True, env=env, timeout=600)
    return done.returncode, done.stdout


def main():
    linux, windows, wine, work = sys.argv[1:5]
    worlds = sys.argv[5:]
    env = dict(os.environ, WINEDEBUG="-all")
    os.makedirs(work, exist_ok=True)
    # A world cut short and a file that is no world: the verdict and the position where
    # reading stopped must agree too.
    whole = open(worlds[0], "rb").read()
    cut = os.path.join(work, "cut-short.world")
    open(cut, "wb").write(whole[:len(whole) * 3 // 5])
    stranger = os.path.join(work, "not-a-world.world")
    open(stranger, "wb").write(b"hello\n")
    worlds = worlds + [cut, stranger]
    failures = checked = 0
    for world in worlds:
        name = os.path.basename(world)
        on_linux = run([linux, "--check", world])
        on_windows = run([wine, windows, "--check", world], env)
        if on_linux != on_windows:
            print(f"FAIL --check {world}: Linux {on_linux}, Windows {on_windows}")
            failures += 1
        linux_png = os.path.join(work, name + ".linux.png")
        windows_png = os.path.join(work, name + ".windows.png")
        for png in (linux_png, windows_png):
            if os.path.exists(png):
                os.remove(png)
        linux_status = run([linux, "--render", world, "-o", linux_png])[0]
        windows_status = run([wine, windows, "--render", world, "-o", windows_png], env)[0]
        made = (os.path.exists(linux_png), os.path.exists(windows_png))
        if linux_status != windows_status or made[0] != made[1]:
            print(f"FAIL --render {world}: Linux {linux_status}, Windows {windows_status}")
            failures += 1
        elif made[0] and pixels(linux_png) != pixels(windows_png):
            print(f"FAIL --render {world}: the pixels differ")
            failures += 1
        else:
            checked += 1
            print(f"same on both systems: {world} (--check {on_linux[0]}, --render {linux_status})")
    print(f"compare-windows: {checked} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
