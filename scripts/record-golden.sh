#!/usr/bin/env bash
# Re-records every golden image from the current drawing code. Run it only when a change of the
# pictures is intended, then look at the new PNGs under tests/data/golden before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/record -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/record -j "$(nproc 2>/dev/null || echo 2)"
VELK_RECORD_GOLDEN=1 ctest --test-dir build/record -R '[Gg]olden' --output-on-failure
rm -f tests/data/golden/*.actual.png tests/data/golden/*.diff.png
git status --short tests/data/golden
