#!/usr/bin/env bash
# velk.exe as a person meets it, under Wine in an X server of its own: start it on a world,
# drag an object with the mouse, save with Ctrl+S and check the file's bytes, then compare the
# client area on screen with `velk.exe --render` of the saved world, pixel for pixel. With
# --scale 2 the screen is scaled to 200% instead, and the client area must show the render
# blown up by two, each pixel a 2 by 2 block.
# Usage: end-to-end.sh [--scale 2] VELK_EXE WORLD SHOT_FOLDER (needs xvfb-run, xdotool and
# ImageMagick's import; exits 77, skipped, without them). Wine runs in the prefix kept for
# programs that show windows, wine-prefix-gui beside velk.exe (see with-display.sh); the scale
# is a setting of the prefix, so the scaled run keeps wine-prefix-200.
set -euo pipefail

scale=1
if [ "${1:-}" = --scale ]; then
    scale=$2
    shift 2
fi
exe=$1 world=$2 shots=$3
for tool in xvfb-run xdotool import python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ -z "${INSIDE_XVFB:-}" ]; then
    export INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1920x1600x24" bash "$0" --scale "$scale" "$@"
fi

wine=/usr/lib/wine/wine64
prefix=wine-prefix-gui
[ "$scale" = 1 ] || prefix=wine-prefix-$((scale * 100))
export WINEPREFIX=$(cd "$(dirname "$exe")" && pwd)/$prefix WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
fi
# Wine reads the screen's dots per inch (96 a scale of 1) when its server starts.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((scale * 96)) /f \
    >/dev/null 2>&1
/usr/lib/wine/wineserver -w
scratch=$(mktemp -d)
velk_pid=
finish() {
    if [ -n "$velk_pid" ]; then
        kill "$velk_pid" 2>/dev/null || true
        wait "$velk_pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap finish EXIT
mkdir -p "$shots"
cp "$world" "$scratch/e2e.world"
windows_path() { echo "Z:${1//\//\\}"; }

"$wine" "$exe" "$(windows_path "$scratch/e2e.world")" &
velk_pid=$!
window=
for _ in $(seq 1 300); do
    window=$(xdotool search --name '^e2e\.world - Velk$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no window titled 'e2e.world - Velk' came up"; exit 1; }
sleep 1

# Where the client area lies on the screen: the place where the world as first rendered is.
"$wine" "$exe" --render "$(windows_path "$scratch/e2e.world")" -o "$(windows_path "$scratch/before.png")"
start_shot=$shots/e2e-start.png
[ "$scale" = 1 ] || start_shot=$shots/scaled-$((scale * 100)).png
import -window root "PNG24:$start_shot"
locate() {  # SCREEN.png PICTURE.png: prints "x y" of the picture's only place on the screen
    python3 "$(dirname "$0")/locate-picture.py" --scale "$scale" "$1" "$2"
}
read -r left top < <(locate "$start_shot" "$scratch/before.png") ||
    { echo "FAIL: the client area on screen differs from velk --render of the world"; exit 1; }
echo "client area at ($left, $top), each pixel a $scale by $scale block"
if [ "$scale" != 1 ]; then
    echo "PASS: at $((scale * 100))% the client area is velk --render blown up by $scale"
    exit 0
fi

# The first object sits at (120, 80); carry it to (220, 180). It follows the mouse one move
# behind, so the hand comes to rest a pixel past the target before letting go.
xdotool mousemove $((left + 120)) $((top + 80))
sleep 0.2
xdotool mousedown 1
for step in 20 40 60 80 100 101; do
    xdotool mousemove $((left + 120 + step)) $((top + 80 + step))
    sleep 0.1
done
xdotool mouseup 1
sleep 0.3
xdotool key ctrl+s
sed '0,/120 80 0/s//220 180 0/' "$world" >"$scratch/expected.world"
for _ in $(seq 1 100); do
    cmp -s "$scratch/expected.world" "$scratch/e2e.world" && break
    sleep 0.1
done
if ! cmp -s "$scratch/expected.world" "$scratch/e2e.world"; then
    echo "FAIL: the saved file's bytes are not the world's with its first object at (220, 180):"
    diff "$scratch/expected.world" "$scratch/e2e.world" || true
    exit 1
fi
echo "saved: the first object moved to (220, 180), every other byte as it was"

sleep 0.5
import -window root "PNG24:$shots/e2e-saved.png"
"$wine" "$exe" --render "$(windows_path "$scratch/e2e.world")" -o "$(windows_path "$scratch/after.png")"
cp "$scratch/after.png" "$shots/e2e-render.png"
read -r left2 top2 < <(locate "$shots/e2e-saved.png" "$scratch/after.png") ||
    { echo "FAIL: the client area after the drag differs from velk --render of the saved world"; exit 1; }
[ "$left2 $top2" = "$left $top" ] || { echo "FAIL: the picture moved on the screen"; exit 1; }
echo "PASS: the client area equals velk --render of the saved world, pixel for pixel"
