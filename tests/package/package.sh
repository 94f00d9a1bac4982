#!/usr/bin/env bash
# Checks the release package's layout, that lintian finds nothing in it, and
# that `cmake --install` records every file it installs, so that a packager or
# `xargs rm < install_manifest.txt` misses nothing.
# Usage: package.sh <release build folder> <package folder>
set -u
build=$1
packages=$2
for tool in dpkg-deb dpkg-parsechangelog cmake lintian; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (Debian: dpkg-dev cmake lintian)"; exit 77; }
done
deb=$(ls "$packages"/zelk_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "SKIP: no package in $packages (./dev.sh package makes it)"; exit 77; }
[ -f "$build/src/app/zelk.chm" ] || { echo "SKIP: zelk.chm was not built (Debian: fp-utils)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # check <description> <condition...>
    local what=$1
    shift
    if "$@"; then echo "  ok: $what"; else echo "  FAILED: $what"; failures=$((failures + 1)); fi
}

dpkg-deb -x "$deb" "$work/root"
root=$work/root
check "bin/zelk links into the program folder" [ "$(readlink "$root/usr/bin/zelk")" = "../lib/zelk/zelk" ]
check "program and help file share a folder" [ -x "$root/usr/lib/zelk/zelk" -a -f "$root/usr/lib/zelk/zelk.chm" ]
for page in "$(dirname "$0")"/../../help/*.html; do
    check "HTML help page $(basename "$page") beside the program" cmp -s "$page" "$root/usr/lib/zelk/help/$(basename "$page")"
done
check "menu entry" [ -f "$root/usr/share/applications/example.zelk.Zelk.desktop" ]
check "AppStream metadata" [ -f "$root/usr/share/metainfo/example.zelk.Zelk.metainfo.xml" ]
check "scalable icon" [ -f "$root/usr/share/icons/hicolor/scalable/apps/example.zelk.Zelk.svg" ]
check "48 px icon" [ -f "$root/usr/share/icons/hicolor/48x48/apps/example.zelk.Zelk.png" ]
# lintian checks the copyright file, the manual page and the stripped program,
# but not that the changelog's latest entry is the package's version.
version=$(dpkg-deb -f "$deb" Version)
changelog_version=$(zcat "$root/usr/share/doc/zelk/changelog.gz" | dpkg-parsechangelog -l - -S Version)
check "latest changelog entry ($changelog_version) is the package's version ($version)" [ "$changelog_version" = "$version" ]
lint_status=0
lintian "$deb" >"$work/lintian" 2>"$work/lintian.err" || lint_status=$?
check "lintian reports nothing" [ "$lint_status" = 0 -a ! -s "$work/lintian" ]
sed 's/^/    /' "$work/lintian"
[ "$lint_status" = 0 ] || grep -v 'running with root privileges' "$work/lintian.err" | sed 's/^/    /'

if DESTDIR=$work/dest cmake --install "$build" >"$work/install.log" 2>&1; then
    # The manifest names the files without DESTDIR.
    (cd "$work/dest" && find . ! -type d | sed 's|^\.||' | sort) >"$work/installed"
    sort "$build/install_manifest.txt" >"$work/recorded"
    check "install_manifest.txt records all $(wc -l <"$work/installed") installed files" \
        cmp -s "$work/installed" "$work/recorded"
    diff "$work/installed" "$work/recorded" | sed -n 's|^< |    not recorded: |p; s|^> |    not installed: |p'
else
    cat "$work/install.log"
    check "cmake --install" false
fi
[ "$failures" = 0 ]
