#!/usr/bin/env bash
# velk-setup.exe under Wine: a silent install puts velk.exe into Program Files\Velk with a
# Start menu entry and an entry among the installed programs; the installed velk.exe answers
# --version; a silent uninstall takes all of it away again.
# Usage: installer.sh SETUP_EXE. WINEPREFIX is the caller's, else one beside the installer.
set -euo pipefail

setup=$1
wine=/usr/lib/wine/wine64
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "$setup")" && pwd)/wine-prefix} WINEDEBUG=-all
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Velk"
link="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Velk.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velk'
fail() { echo "FAIL: $*"; exit 1; }

if [ -e "$folder/uninstall.exe" ]; then  # a run that stopped half way
    "$wine" "C:\\Program Files\\Velk\\uninstall.exe" /S "_?=C:\\Program Files\\Velk" || true
    rm -rf "$folder"
fi

"$wine" "$(echo "Z:$(cd "$(dirname "$setup")" && pwd)/$(basename "$setup")" | tr / '\\')" /S ||
    fail "the silent install failed"
[ -f "$folder/velk.exe" ] || fail "no velk.exe in Program Files\\Velk"
[ -f "$folder/uninstall.exe" ] || fail "no uninstaller in Program Files\\Velk"
[ -f "$link" ] || fail "no Start menu entry"
"$wine" reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
    fail "the uninstaller is not listed among the installed programs ($key)"
version=$("$wine" "C:\\Program Files\\Velk\\velk.exe" --version | tr -d '\r')
echo "installed: $version"
[[ $version == *1.0.0.1* ]] || fail "the installed velk.exe --version said '$version'"

# The uninstaller copies itself aside and runs from there; it is done when the folder is gone.
"$wine" "C:\\Program Files\\Velk\\uninstall.exe" /S || fail "the silent uninstall failed"
for _ in $(seq 1 300); do
    [ -e "$folder" ] || break
    sleep 0.1
done
[ ! -e "$folder" ] || fail "Program Files\\Velk is still there after the uninstall"
[ ! -e "$link" ] || fail "the Start menu entry is still there after the uninstall"
if "$wine" reg query "$key" >/dev/null 2>&1; then
    fail "the entry among the installed programs is still there after the uninstall"
fi
echo "PASS: installed, ran --version, uninstalled without a trace"
