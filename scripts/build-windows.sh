#!/usr/bin/env bash
# Builds Velk for 64-bit Windows into build/windows with Debian's MinGW-w64 compiler: the program
# velk.exe (its window on the Windows API, and its commands), the installer velk-setup.exe
# (Debian's nsis) and every test suite that needs no Qt. Test them under Wine with:
# ctest --test-dir build/windows (scripts/test.sh does).
# Usage: build-windows.sh [BUILD_TYPE] (default RelWithDebInfo).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE="${1:-RelWithDebInfo}" "${launcher[@]}" >/dev/null
cmake --build build/windows -j "$jobs"
echo "build-windows: the program is build/windows/velk.exe, its installer build/windows/velk-setup.exe"
