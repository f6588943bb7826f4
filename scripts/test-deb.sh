#!/usr/bin/env bash
# Installs the Debian package on this machine as a person would, checks that it works and that
# the desktop knows world files, then purges it and checks that nothing of it stays behind.
#
#   scripts/test-deb.sh [PACKAGE.deb]    (default: the package in build/package)
#
# Needs root, or sudo without a password; without either it says so and skips. Whatever
# happens, the package (and any package that came with it) is purged again on the way out.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-}
if [ -z "$deb" ]; then
    debs=(build/package/*.deb)
    deb=${debs[0]}
fi
[ -f "$deb" ] || { echo "error: no package '$deb' (scripts/build-deb.sh makes it)" >&2; exit 1; }
deb=$(realpath "$deb")
package=$(dpkg-deb --field "$deb" Package)
version=$(dpkg-deb --field "$deb" Version)
world_type=application/x-velk-world

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        sudo="sudo"
    else
        echo "test-deb: skipped: installing $package needs root, or sudo without a password"
        exit 0
    fi
fi
if dpkg-query --status "$package" >/dev/null 2>&1; then
    echo "error: $package is installed here already; this check installs and purges it," >&2
    echo "       so purge it first: ${sudo:+sudo }apt-get purge $package" >&2
    exit 1
fi

scratch=$(mktemp -d)
passed=0
failed=0
check() {  # NAME COMMAND...: runs the command, counts and reports the outcome
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $name"
    else
        failed=$((failed + 1))
        echo "FAILED: $name"
    fi
}
equals() {  # WANTED GOT
    [ "$1" = "$2" ] || { echo "  wanted '$1', got '$2'"; return 1; }
}
# The desktop's view of files, as a person without a desktop environment of their own has it:
# a fresh home (no mimeapps.list of ours), the system's MIME database and desktop entries.
desktop() {
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$scratch/home" "$@"
}
answer() {  # what the command prints in the desktop's view, or nothing when it fails
    desktop "$@" 2>/dev/null || true
}
installed_packages() {
    dpkg-query --show --showformat '${db:Status-Status} ${Package}\n' |
        awk '$1 == "installed" { print $2 }' | sort
}

export DEBIAN_FRONTEND=noninteractive
# Another apt on the machine holds its lock for a while; wait for it rather than fail.
apt_options=(-o DPkg::Lock::Timeout=600)
before=$(installed_packages)
brought=()  # packages the install brought in besides ours, purged with it
purge() {
    if dpkg-query --status "$package" >/dev/null 2>&1 || [ ${#brought[@]} -gt 0 ]; then
        $sudo apt-get purge -y -qq "${apt_options[@]}" "$package" "${brought[@]}" \
            >"$scratch/purge.log" 2>&1 ||
            { cat "$scratch/purge.log" >&2; return 1; }
    fi
}
finish() {
    local status=$?
    purge || status=1
    rm -rf "$scratch"
    exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

mkdir -p "$scratch/home"
sample="$scratch/sample.world"
cp examples/town.world "$sample"
# Before the install the machine must not know the type already, or the checks below would
# show nothing about the package.
filetype=$(answer xdg-mime query filetype "$sample")
check "before the install, xdg-mime query filetype sample.world: $filetype" \
    test "$filetype" != "$world_type"

echo "== apt-get install $deb =="
status=0
$sudo apt-get install -y -q "${apt_options[@]}" "$deb" >"$scratch/install.log" 2>&1 || status=$?
mapfile -t brought < <(comm -13 <(echo "$before") <(installed_packages) | grep -vx "$package")
[ ${#brought[@]} -eq 0 ] || echo "the install brought in: ${brought[*]}"
if [ "$status" -ne 0 ]; then
    cat "$scratch/install.log" >&2
    echo "error: apt-get install failed" >&2
    exit 1
fi
mapfile -t files < <(dpkg-query --listfiles "$package")
installed() {  # SUFFIX: the one installed path ending so
    printf '%s\n' "${files[@]}" | grep -- "$1\$" | head -n 1
}
entry=$(installed "/applications/$package.desktop")
example=$(installed "/examples/town.world")
mime_packages=$(dirname "$(installed "/mime/packages/$package.xml")")

state=$(dpkg-query --show --showformat '${Version} ${db:Status-Status}' "$package")
check "dpkg: $package $state" equals "$version installed" "$state"
on_path=$(answer sh -c 'command -v velk')
check "velk on PATH: $on_path" equals "$(installed /bin/velk)" "$on_path"
shown=$(answer velk --version)
check "velk --version: $shown" equals "velk $version" "$shown"
render_example() {
    desktop velk --render "$example" -o "$scratch/town.png" &&
        [ "$(head -c 8 "$scratch/town.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]
}
check "velk --render $example -o town.png" render_example
check "velk --check $example" desktop sh -c "velk --check '$example' >/dev/null"
# What file managers and xdg-open ask. Without a desktop environment xdg-mime asks
# File::MimeInfo, which reads the MIME database that shared-mime-info's trigger rebuilt, and the
# handler list that desktop-file-utils' trigger rebuilt.
filetype=$(answer xdg-mime query filetype "$example")
check "xdg-mime query filetype $example: $filetype" equals "$world_type" "$filetype"
filetype=$(answer xdg-mime query filetype "$sample")
check "xdg-mime query filetype sample.world: $filetype" equals "$world_type" "$filetype"
handler=$(answer xdg-mime query default "$world_type")
check "xdg-mime query default $world_type: $handler" equals "$(basename "$entry")" "$handler"
check "the MIME database knows $world_type" test -f "$(dirname "$mime_packages")/$world_type.xml"
check "the desktop's handler list names $(basename "$entry")" \
    grep -q "^$world_type=.*$(basename "$entry")" "$(dirname "$entry")/mimeinfo.cache"

echo "== apt-get purge $package =="
purge
brought=()
check "purged: dpkg no longer knows $package" \
    sh -c "! dpkg-query --status '$package' >/dev/null 2>&1"
# Every file of the package is gone. A folder may stay when another package has it too, or when
# it still holds something else (such as a cache the triggers wrote): its own entries are all in
# the list and checked themselves.
left_behind() {
    local path left=0
    for path in "${files[@]}"; do
        [ -e "$path" ] || [ -L "$path" ] || continue
        if [ -d "$path" ] && [ ! -L "$path" ]; then
            if dpkg-query --search "$path" >/dev/null 2>&1 || [ -n "$(ls -A "$path")" ]; then
                continue
            fi
        fi
        echo "  left behind: $path"
        left=1
    done
    return "$left"
}
check "none of its ${#files[@]} paths is left (shared folders aside)" left_behind
check "the MIME database no longer knows $world_type" \
    test ! -e "$(dirname "$mime_packages")/$world_type.xml"
check "the handler list no longer names $(basename "$entry")" \
    sh -c "! grep -qs '$(basename "$entry")' '$(dirname "$entry")/mimeinfo.cache'"
filetype=$(answer xdg-mime query filetype "$sample")
check "after the purge, xdg-mime query filetype sample.world: $filetype" \
    test "$filetype" != "$world_type"
check "velk is no longer on PATH" test -z "$(answer sh -c 'command -v velk')"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
