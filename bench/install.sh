#!/usr/bin/env bash
# How long the Windows installer takes under Wine on this machine and its load:
# a first silent install with autostart, installing again over it, and a silent
# uninstall until the program's files are gone, in a Wine prefix made for the
# runs as the Wine suite makes its own; medians of the runs. The Wine suite only
# checks that each step succeeds.
# Prints a table.
# Usage: bench/install.sh [setup.exe, default build/windows/zelk-*-setup-x64.exe] [runs, default 5]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
setup=${1:-$(ls build/windows/zelk-*-setup-x64.exe 2>/dev/null | head -n 1)}
runs=${2:-5}
[ -f "$setup" ] || { echo "no installer: ./dev.sh windows builds build/windows/zelk-<version>-setup-x64.exe"; exit 1; }
command -v wine >/dev/null || { echo "wine is missing (Debian: wine wine64)"; exit 1; }
setup=$(realpath "$setup")

# In the real-window suites' X session (Xvfb + openbox), which this script enters once;
# Debian's own Python, where python3-xlib lives.
if [ -z "${ZELK_BENCH_SESSION:-}" ]; then
    ZELK_BENCH_SESSION=1 exec /usr/bin/python3 "$here/../tests/scenarios/session.py" -- bash "$0" "$setup" "$runs"
fi
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
wineserver -w
folder=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')\\Programs\\Zelk 2010")

micros() { echo "${EPOCHREALTIME//[!0-9]/}"; }
since() { echo $((($(micros) - $1) / 1000)); } # milliseconds since <micros>
: >"$work/times"
for _ in $(seq "$runs"); do
    start=$(micros)
    wine "$setup" /S /AUTOSTART
    first=$(since "$start")
    start=$(micros)
    wine "$setup" /S
    again=$(since "$start")
    # The uninstaller runs as a copy of itself and returns at once: the time is until the files are gone.
    start=$(micros)
    wine "$folder/uninstall.exe" /S
    until [ ! -e "$folder/zelk.exe" ] && [ ! -e "$folder/uninstall.exe" ]; do
        [ "$(since "$start")" -lt 120000 ] || { echo "the uninstaller left the program after 2 minutes" >&2; exit 1; }
        sleep 0.05
    done
    echo "$first $again $(since "$start")" >>"$work/times"
done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_of() { awk -v c="$1" '{ print $c }' "$work/times" | median; }
echo "medians of $runs runs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version)"
echo
echo "| $(basename "$setup") | first install (/S /AUTOSTART) | install again (/S) | uninstall (/S) |"
echo "|---|---|---|---|"
echo "| milliseconds | $(column_of 1) | $(column_of 2) | $(column_of 3) |"
