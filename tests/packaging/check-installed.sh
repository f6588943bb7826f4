#!/usr/bin/env bash
# Checks one part of a staged install (cmake --install --prefix STAGE); see CMakeLists.txt.
#
#   check-installed.sh CHECK STAGE SOURCE_DIR VERSION
#
# CHECK is DesktopEntry, Metainfo, MimeType, ManualPage or Changelog.
set -euo pipefail

check=$1 stage=$2 source=$3 version=$4
world_type=application/x-velk-world

fail() {
    echo "$check: $*" >&2
    exit 1
}
# The one staged file whose path ends so; the layout is GNUInstallDirs', not this script's.
staged() {
    local found
    found=$(find "$stage" -path "*/$1" | head -n 1)
    [ -n "$found" ] || fail "nothing installed as */$1"
    echo "$found"
}

case $check in
DesktopEntry)
    entry=$(staged applications/velk.desktop)
    desktop-file-validate "$entry" || fail "desktop-file-validate refuses $entry"
    grep -qx "MimeType=\(.*;\)\?$world_type;.*" "$entry" || fail "no MimeType $world_type"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$(staged "bin/$program")" ] || fail "Exec names $program, which is not installed"
    ;;
Metainfo)
    metainfo=$(staged metainfo/org.velk.Velk.metainfo.xml)
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"
    # Releases are listed newest first.
    newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
    [ "$newest" = "$version" ] || fail "newest release is $newest, the project is $version"
    launchable=$(sed -n 's/.*<launchable type="desktop-id">\(.*\)<.*/\1/p' "$metainfo")
    staged "applications/$launchable" >/dev/null
    ;;
MimeType)
    # A MIME database of its own, made from the staged definition alone, read as xdg-mime reads
    # the system's (File::MimeInfo).
    data=$(mktemp -d)
    trap 'rm -rf "$data"' EXIT
    mkdir -p "$data/mime/packages" "$data/home"
    cp "$(staged mime/packages/velk.xml)" "$data/mime/packages/"
    update-mime-database "$data/mime" 2>/dev/null
    mimetype() { XDG_DATA_HOME="$data/home" XDG_DATA_DIRS="$data" command mimetype "$@"; }
    cp "$source/examples/town.world" "$data/Other Name.WORLD"
    for file in "$(staged velk/examples/town.world)" "$data/Other Name.WORLD"; do
        [ "$(mimetype --brief "$file")" = "$world_type" ] || fail "$file is not $world_type"
    done
    [ "$(mimetype --brief "$source/README.md")" != "$world_type" ] || fail "README.md is a world"
    comment=$(mimetype --brief --describe "$(staged velk/examples/town.world)")
    [ -n "$comment" ] && [ "$comment" != "$world_type" ] || fail "the type has no comment"
    # The documents' icon is installed under the name the type gives it.
    icon=$(sed -n "s|^$world_type:||p" "$data/mime/icons")
    staged "mimetypes/$icon.png" >/dev/null
    ;;
ManualPage)
    page=$(staged man1/velk.1.gz)
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns: $warnings"
    text=$(zcat "$page" | sed 's/\\-/-/g')
    velk=$(staged bin/velk)
    # Every option of the usage text, the version, and what the page says of the exit codes.
    for option in $("$velk" --help | grep -oE -- '(^|[ |])--?[a-z]+' | tr -d ' |' | sort -u); do
        grep -qF -- "$option" <<<"$text" || fail "the page does not explain $option"
    done
    grep -qF "\"$("$velk" --version)\"" <<<"$text" || fail "the page is not of $("$velk" --version)"
    for status in 0 1 2; do
        sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' <<<"$text" | grep -qx "\.B $status" ||
            fail "the page does not explain exit status $status"
    done
    # Each file or folder the page names is one the program still uses: MANUAL|SOURCE pairs.
    settings="Local AppWizard-Generated Applications"
    for pair in "$settings/Velk.ini|$settings" \
        "XDG_STATE_HOME:-~/.local/state}/velk/recovery/|/velk/recovery" \
        "XDG_CACHE_HOME:-~/.cache}/velk/interrupted-saves/|\"interrupted-saves\"" \
        ".velk-backup|.velk-backup" ".saving-|.saving-"; do
        grep -qF -- "${pair%%|*}" <<<"$text" || fail "the page does not name ${pair%%|*}"
        grep -rqF -- "${pair#*|}" "$source/src" || fail "the program no longer uses ${pair#*|}"
    done
    ;;
Changelog)
    top=$(zcat "$(staged doc/velk/changelog.gz)" | head -n 1)
    [[ $top =~ ^velk\ \(([^\)]*)\) ]] || fail "the first line is no changelog entry: $top"
    [ "${BASH_REMATCH[1]}" = "$version" ] || fail "newest entry is ${BASH_REMATCH[1]}, not $version"
    grep -q "^Files: \*" "$(staged doc/velk/copyright)" || fail "the copyright file covers no files"
    ;;
*)
    fail "no such check"
    ;;
esac
echo "$check: ok"
