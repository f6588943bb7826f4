#!/usr/bin/env bash
# Builds the Debian package build/package/velk_VERSION_ARCH.deb from a Release build, and runs
# lintian on it: errors fail, warnings and notes are shown.
#
#   scripts/build-deb.sh
#
# The tree build/package is configured for /usr with Debian's hardening flags (as
# dpkg-buildflags gives them, without its -g -O2: Release optimises, and nothing keeps debug
# symbols), and builds the program alone.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_CFLAGS_MAINT_STRIP="-g -O2" DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
cflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"

echo "== building $build (Release) =="
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVELK_BUILD_TESTS=OFF -DVELK_BUILD_BENCHMARKS=OFF \
    -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"

echo "== packing =="
rm -f "$build"/*.deb
if ! (cd "$build" && cpack -G DEB) >"$build/cpack.log" 2>&1; then
    cat "$build/cpack.log" >&2
    exit 1
fi
debs=("$build"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "error: cpack made no single package in $build" >&2
    exit 1
fi
deb=${debs[0]}

echo "== lintian $deb =="
status=0
report=$(lintian --display-info --fail-on error "$deb" 2>&1) || status=$?
# lintian warns that it runs as root; it only reads the package here.
report=$(grep -v "running with root privileges is not recommended" <<<"$report" || true)
echo "${report:-lintian: no errors, warnings or notes}"
if [ "$status" -ne 0 ]; then
    echo "error: lintian reports errors in $deb" >&2
    exit 1
fi
echo "Built $deb"
