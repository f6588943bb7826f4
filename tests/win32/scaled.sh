#!/usr/bin/env bash
# velk.exe on a screen scaled to 200% under Wine: the client area shows `velk.exe --render` of
# the world blown up by two, each pixel a 2 by 2 block, with no blur. The scale is a setting of
# the Wine prefix, so this run keeps a prefix of its own.
# Usage: scaled.sh VELK_EXE WORLD SHOT_FOLDER (needs xvfb-run, xdotool and ImageMagick's import;
# exits 77, skipped, without them).
set -euo pipefail

exe=$1 world=$2 shots=$3
for tool in xvfb-run xdotool import python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ -z "${INSIDE_XVFB:-}" ]; then
    export INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1920x1600x24" bash "$0" "$@"
fi
wine=/usr/lib/wine/wine64
export WINEPREFIX=$(cd "$(dirname "$exe")" && pwd)/wine-prefix-200 WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
fi
# 192 dots per inch is 200%; Wine reads it when its server starts.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
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
cp "$world" "$scratch/scaled.world"
windows_path() { echo "Z:${1//\//\\}"; }

"$wine" "$exe" --render "$(windows_path "$scratch/scaled.world")" -o "$(windows_path "$scratch/render.png")"
"$wine" "$exe" "$(windows_path "$scratch/scaled.world")" &
velk_pid=$!
for _ in $(seq 1 300); do
    xdotool search --name '^scaled\.world - Velk$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1.5
import -window root "PNG24:$shots/scaled-200.png"
if ! place=$(python3 "$(dirname "$0")/locate-picture.py" --scale 2 "$shots/scaled-200.png" \
        "$scratch/render.png"); then
    echo "FAIL: at 200% the client area is not velk --render blown up by two"
    exit 1
fi
echo "PASS: at 200% the client area at ($place) is velk --render blown up by two, pixel for pixel"
