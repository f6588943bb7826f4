#!/usr/bin/env bash
# Sets up a fresh machine, builds Velk twice (normal, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds; then builds the Debian package,
# installs it for real and purges it again; last builds it for Windows, compares its commands'
# results with Linux's and runs every suite without Qt under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== normal build =="
build build/normal
echo "== sanitizer build =="
build build/sanitize -DVELK_SANITIZE=ON -DVELK_BUILD_BENCHMARKS=OFF
echo "== Debian package =="
bash scripts/build-deb.sh
bash scripts/test-deb.sh

echo "== Windows build, tests under Wine =="
bash scripts/build-windows.sh
# Wine keeps its Windows (about 700 MB, made in a few seconds) inside the build folder, so that
# later runs start warm and nothing lands in the user's home.
export WINEPREFIX="$PWD/build/windows/wine-prefix" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
fi
python3 scripts/compare-windows.py build/normal/velk build/windows/velk.exe "$wine" \
    build/windows/compare tests/data/worlds/*.world examples/*.world \
    build/normal/examples/world-10000.world
status=0
ctest --test-dir build/windows --output-on-failure -j "$jobs" || status=$?
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
