#!/usr/bin/env bash
# Builds the world file fuzz target with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it on one core.
#
#   scripts/fuzz.sh [SECONDS]    (default 600)
#
# Needs the Debian packages clang and libclang-rt-14-dev (not part of CI). New inputs collect in
# the build folder's corpus, seeded from fuzz/corpus; a crash is saved there as crash-* and can
# be replayed with: BUILD/fuzz/velk_fuzz_read_world CRASH-FILE
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
build=${VELK_FUZZ_BUILD:-build/fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELK_BUILD_FUZZ=ON -DVELK_SANITIZE=ON -DVELK_BUILD_TESTS=OFF -DVELK_BUILD_BENCHMARKS=OFF \
    >/dev/null
cmake --build "$build" -j 2 --target velk_fuzz_read_world

root=$(pwd)
mkdir -p "$build/corpus"
cd "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
./fuzz/velk_fuzz_read_world -max_total_time="$seconds" -jobs=1 -workers=1 -print_final_stats=1 \
    -artifact_prefix=./ corpus "$root/fuzz/corpus"
