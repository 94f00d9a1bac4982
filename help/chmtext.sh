#!/bin/sh
# CHM viewers read a help file's pages in the file's code page and ignore the
# pages' own charset: xCHM showed each umlaut of the UTF-8 pages as two wrong
# characters. So the compiled copies of the pages carry every character
# beyond ASCII as a numeric character reference, which reads right in any
# code page. (The contents and index are written with references already.)
# Usage: chmtext.sh <folder of copied help sources>
set -e
cd "$1"
for page in *.html; do
    perl -CSD -pi -e 's/([^\x00-\x7f])/sprintf("&#%d;", ord($1))/ge' "$page"
done
