#!/usr/bin/env bash
# Installs the Debian packages that building and testing Velk need, when any is missing.
set -euo pipefail

packages=(build-essential cmake python3 qt6-base-dev libpng-dev libgtest-dev libgmock-dev
          libbenchmark-dev libmimalloc-dev xvfb xauth libx11-dev)
# Building the Debian package and checking it (scripts/build-deb.sh, scripts/test-deb.sh and the
# tests of the installed files): dpkg-buildflags and dpkg-shlibdeps, lintian, the validators of
# desktop entries and AppStream metadata, man for the manual page, and what the desktop asks
# about files: the MIME database, its reader File::MimeInfo and xdg-mime.
packages+=(dpkg-dev lintian desktop-file-utils appstream man-db shared-mime-info
           libfile-mimeinfo-perl xdg-utils)
# The Windows build and its tests under Wine (scripts/build-windows.sh): the installer's
# compiler nsis, and xdotool and ImageMagick (import) for the end-to-end run of velk.exe.
packages+=(g++-mingw-w64-x86-64-posix wine64 googletest nsis xdotool imagemagick)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "error: need root (or sudo) to install ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
