#!/usr/bin/env bash
# Sets up a fresh machine, builds Velk and opens a world in it: the file named, or the example
# world. Without a display it says so and paints the world into a PNG instead.
#
#   scripts/run.sh [FILE]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -gt 1 ]; then
    echo "usage: scripts/run.sh [FILE]" >&2
    exit 2
fi
# Resolve the file before leaving the caller's folder, so a relative name means what it says.
file="${1:-$root/examples/example.world}"
if [ ! -f "$file" ]; then
    echo "error: no world file '$file'" >&2
    exit 1
fi
file="$(cd "$(dirname "$file")" && pwd)/$(basename "$file")"

cd "$root"
bash scripts/install-deps.sh

echo "== building build/normal/velk =="
cmake -S . -B build/normal -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal --target velk -j "$(nproc 2>/dev/null || echo 2)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/normal/velk "$file"
fi

name="$(basename "$file")"
png="$root/build/normal/renders/${name%.world}.png"
mkdir -p "$(dirname "$png")"
echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so Velk cannot"
echo "open a window. Painting the world into a PNG instead, as the window would show it."
build/normal/velk --render "$file" -o "$png"
echo "Wrote $png"
