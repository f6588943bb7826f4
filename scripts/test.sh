#!/usr/bin/env bash
# Sets up a fresh machine, builds Velk twice (normal, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds; then builds the Debian package,
# installs it for real, and purges it again.
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
