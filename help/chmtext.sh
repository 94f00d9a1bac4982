#!/bin/sh
# CHM viewers read a help file's pages and contents in the file's code page
# (ISO-8859-1 here) and ignore the pages' own charset. So the compiled copies
# of the pages carry every character beyond ASCII as a numeric reference, and
# the contents and index, whose names viewers show without decoding
# references, are written in ISO-8859-1.
# Usage: chmtext.sh <folder of copied help sources>
set -e
cd "$1"
for page in *.html; do
    perl -CSD -pi -e 's/([^\x00-\x7f])/sprintf("&#%d;", ord($1))/ge' "$page"
done
for list in *.hhc *.hhk; do
    iconv -f UTF-8 -t ISO-8859-1 "$list" | sed 's/charset="utf-8"/charset="iso-8859-1"/' >"$list.latin1"
    mv "$list.latin1" "$list"
done
