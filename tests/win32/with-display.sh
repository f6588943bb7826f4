#!/usr/bin/env bash
# Runs a Windows program that shows windows under Wine, in an Xvfb of its own and in a Wine
# prefix kept for such programs (PREFIX, made on first use). Wine keeps one desktop per prefix,
# on the X display of the program that made it; a program without a display that makes a
# window in a shared prefix (an installer, say) would leave a desktop that no later window
# can be shown on.
# Usage: with-display.sh PREFIX PROGRAM [ARGUMENT...]. Exits 77, skipped, without xvfb-run.
set -euo pipefail

command -v xvfb-run >/dev/null || { echo "skipped: xvfb-run is not installed (Debian: xvfb, xauth)"; exit 77; }
export WINEPREFIX=$1 WINEDEBUG=-all
shift
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$@"
