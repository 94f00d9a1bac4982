#!/usr/bin/env bash
# Opens the built help file's directory and checks that every page, the table
# of contents and the index are inside, readable in the file's code page.
# Usage: help.sh <zelk.chm> <help sources>
set -u
chm=$1
sources=$2
command -v extract_chmLib >/dev/null || { echo "SKIP: extract_chmLib is not installed (Debian: libchm-bin)"; exit 77; }
[ -f "$chm" ] || { echo "SKIP: zelk.chm was not built (Debian: fp-utils)"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
extract_chmLib "$chm" "$out" >/dev/null
missing=0
# CHM viewers read the pages in the file's code page: they must hold nothing
# beyond ASCII (other characters as references) and say what the sources say.
as_source() { # as_source <file in the help file>
    case $1 in
    *.html) LC_ALL=C grep -q '[^[:print:][:space:]]' "$1" && echo "(not ASCII)" || perl -CSD -pe 's/&#(\d+);/chr($1)/ge' "$1" ;;
    *) cat "$1" ;;
    esac
}
for file in "$sources"/*.html toc.hhc index.hhk zelk.css bilder/hauptfenster.png; do
    name=${file#"$sources"/}
    if [ ! -f "$out/$name" ] || ! cmp -s "$sources/$name" <(as_source "$out/$name"); then
        echo "FAILED: $name is missing or differs in the help file"
        missing=$((missing + 1))
    fi
done
# Every page is reachable from the table of contents.
for page in "$sources"/*.html; do
    grep -q "value=\"$(basename "$page")\"" "$out/toc.hhc" || { echo "FAILED: $(basename "$page") not in toc.hhc"; missing=$((missing + 1)); }
done
[ "$missing" = 0 ] && echo "help file complete"
[ "$missing" = 0 ]
