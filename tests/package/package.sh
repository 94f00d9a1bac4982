#!/usr/bin/env bash
# Builds the .deb with CPack, unpacks it with dpkg-deb -x and starts the
# unpacked program through its <prefix>/bin/zelk link under Xvfb: F1 must hand
# the help file beside the real executable to the system's default handler.
# Usage: package.sh <build folder>
set -u
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian: dpkg-dev)"; exit 77; }
done
[ -f "$build/src/app/zelk.chm" ] || { echo "SKIP: zelk.chm was not built (Debian: fp-utils)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAILED: cpack"
    exit 1
fi
deb=$(ls "$work"/out/*.deb)
dpkg-deb -x "$deb" "$work/root"
root=$work/root

zelk=$root/usr/bin/zelk
source "$(dirname "$0")/../realwindow/xsession.sh"

case_layout() {
    check "bin/zelk links into the program folder" [ "$(readlink "$root/usr/bin/zelk")" = "../lib/zelk/zelk" ]
    check "program and help file share a folder" [ -x "$root/usr/lib/zelk/zelk" -a -f "$root/usr/lib/zelk/zelk.chm" ]
    check "menu entry" [ -f "$root/usr/share/applications/example.zelk.Zelk.desktop" ]
    check "AppStream metadata" [ -f "$root/usr/share/metainfo/example.zelk.Zelk.metainfo.xml" ]
    check "scalable icon" [ -f "$root/usr/share/icons/hicolor/scalable/apps/example.zelk.Zelk.svg" ]
    check "48 px icon" [ -f "$root/usr/share/icons/hicolor/48x48/apps/example.zelk.Zelk.png" ]
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    check "dependencies come from the libraries ($depends)" bash -c "[[ '$depends' == *libqt6widgets6* && '$depends' == *libqt6svg6* ]]"
}

case_help_from_unpacked_program() {
    # A stand-in for the desktop's document opener records what it is given.
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nprintf "%%s" "$1" > "%s/opened"\n' "$work" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    PATH="$work/bin:$PATH" start_zelk
    local win
    win=$(wait_window "Zelk. 2010    -    Freeware" 30) || { check "main window appears" false; stop_zelk; return; }
    xdotool windowactivate --sync "$win" 2>/dev/null
    xdotool key F1
    eventually 10 [ -f "$work/opened" ]
    local opened
    opened=$(cat "$work/opened" 2>/dev/null)
    check "F1 opens $root/usr/lib/zelk/zelk.chm (got: $opened)" \
        bash -c "[[ '$opened' == '$root/usr/lib/zelk/zelk.chm' || '$opened' == 'file://$root/usr/lib/zelk/zelk.chm' ]]"
    stop_zelk
}

run_case "package layout" case_layout
run_case "help file found from the unpacked program" case_help_from_unpacked_program
finish
