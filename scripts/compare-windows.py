#!/usr/bin/env python3
"""Runs velk --check and --render of the same worlds on Linux and, under Wine, on Windows, and
fails unless both give the same verdict, report and exit status, and pictures with the same
pixels. The PNG files themselves may differ: each system has its own encoder.

Usage: compare-windows.py LINUX_VELK WINDOWS_VELK WINE WORK_FOLDER WORLD...
"""
import os
import subprocess
import sys

from pngpixels import read_rgb


def pixels(path):
    """Width, height and RGB rows of a PNG file."""
    return read_rgb(path)


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
