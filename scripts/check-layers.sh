#!/usr/bin/env bash
# Fails when a source file includes against the layers: each folder under src/ may include only
# itself and the folders below it, Qt headers belong to qt/ and the program's main alone, and
# Windows headers to files/ and win32/, where they never meet the drawing layer's names.
# Every library exports src/ as its include root, so the compiler cannot catch an upward
# include; this check does. Usage: check-layers.sh [SRC_DIR] (default: the repository's src/).
set -euo pipefail

src=${1:-"$(dirname "$0")/../src"}

# What each folder may include besides itself: the model in the order gdi, shapes, objects,
# document, view, app, with gdi on files (the system's PNG codec and files); the framework above gdi and files (the operating system) and below
# document and view; qt on top of the framework (never the model); the program's main alone
# wires qt in. The operating system's own headers belong to files/ alone.
declare -A allowed=(
    [files]=""
    [gdi]="files"
    [shapes]="gdi"
    [objects]="gdi shapes"
    [framework]="gdi files"
    [document]="gdi shapes objects framework files"
    [view]="gdi shapes objects framework document files"
    [qt]="gdi framework files"
    [win32]="gdi framework files"
    [app]="gdi shapes objects framework document view files"
)
main_file="app/main.cpp"
windows_main_file="app/WindowsMain.cpp"

faults=0
report() {
    echo "$1" >&2
    faults=$((faults + 1))
}

while IFS= read -r -d '' file; do
    relative=${file#"$src"/}
    layer=${relative%%/*}
    if [[ -z ${allowed[$layer]+set} ]]; then
        report "$relative: folder '$layer' has no place in the layers (add it to $0)"
        continue
    fi
    permitted=" $layer ${allowed[$layer]} "
    qt_allowed=false
    if [[ $layer == qt || $relative == "$main_file" ]]; then
        qt_allowed=true
        permitted+="qt "
    fi
    if [[ $relative == "$windows_main_file" ]]; then
        permitted+="win32 "
    fi
    # In win32/, only the Native* files and WideText talk to Windows; they include nothing of
    # Velk but each other and the resources' plain structures, so that Windows' POINT, RECT
    # and SIZE never meet the drawing layer's.
    native=false
    if [[ $relative =~ ^win32/(Native[A-Za-z]*|WideText)\.(h|cpp)$ ]]; then
        native=true
    fi
    line_number=0
    while IFS= read -r line; do
        line_number=$((line_number + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+) ]] || continue
        header=${BASH_REMATCH[2]}
        if [[ ${BASH_REMATCH[1]} == '"' ]]; then
            folder=${header%%/*}
            if [[ $folder == "$header" ]]; then
                report "$relative:$line_number: \"$header\" names no folder (write \"folder/File.h\")"
            elif [[ $permitted != *" $folder "* ]]; then
                report "$relative:$line_number: $layer may not include $header (allowed:${permitted% })"
            elif $native && ! [[ $header =~ ^win32/(Native[A-Za-z]*|WideText)\.h$ ||
                                 $header == framework/Resources.h ]]; then
                report "$relative:$line_number: a file that talks to Windows may not include $header"
            fi
        elif [[ $header =~ ^Q[A-Za-z]*(/|$) ]] && ! $qt_allowed; then
            report "$relative:$line_number: Qt header <$header> outside qt/ and $main_file"
        elif [[ $header =~ ^(unistd|fcntl|pwd|dirent|signal|poll|io|windows|winbase|wincodec|shlobj|shellapi|objbase|knownfolders|commctrl|commdlg)\.h$|^sys/ ]] &&
            [[ $layer != files ]] && ! $native; then
            report "$relative:$line_number: system header <$header> outside files/ and win32/Native*"
        fi
    done <"$file"
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if ((faults > 0)); then
    echo "check-layers: $faults include(s) against the layers" >&2
    exit 1
fi
echo "check-layers: every include follows the layers"
