#!/usr/bin/env bash
# Start-up of zelk's splash window next to a bare Qt window built from the same
# tree (bench/barewindow.cpp), all in one run:
#  - from launch until the X server reports the window mapped, and until the
#    program hands its first frame to the X server, with the resident memory at
#    that frame (bench/startupprobe.cpp, preloaded into both programs); the two
#    programs take turns, one warm-up run each, medians of the runs;
#  - instructions until that first frame, counted by callgrind, which does not
#    depend on the machine's load;
#  - when zelk's main window follows the splash.
# Prints the README's table.
# Usage: bench/startup.sh [build folder, default build/release] [runs, default 11]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/release}
runs=${2:-11}
zelk=$build/src/app/zelk
bare=$build/bench/barewindow
probe=$build/bench/libstartupprobe.so
for file in "$zelk" "$bare" "$probe"; do
    [ -e "$file" ] || { echo "$file is missing: cmake --preset release && cmake --build --preset release"; exit 1; }
done
command -v valgrind >/dev/null || { echo "valgrind is missing (Debian: valgrind)"; exit 1; }
probe=$(realpath "$probe")

# In the real-window suites' X session (Xvfb + openbox), which this script enters once;
# Debian's own Python, where python3-xlib lives.
if [ -z "${ZELK_BENCH_SESSION:-}" ]; then
    ZELK_BENCH_SESSION=1 exec /usr/bin/python3 "$here/../tests/scenarios/session.py" -- bash "$0" "$build" "$runs"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home"
# Both programs see the same fresh user, after the warm-up run with its caches.
program_env=(HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
             XDG_CACHE_HOME="$work/home/.cache" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8)

micros() { echo "${EPOCHREALTIME//[!0-9]/}"; }

# run_once <binary> <windows to wait for>: prints, in ms after launch, when the
# first window was mapped and its first frame sent, the KiB resident at that
# frame, and when the last awaited window was mapped.
run_once() {
    local log=$work/probe.log start pid
    rm -f "$log"
    start=$(micros)
    env "${program_env[@]}" LD_PRELOAD="$probe" ZELK_PROBE_LOG="$log" "$1" >/dev/null 2>&1 &
    pid=$!
    until [ "$(cat "$log" 2>/dev/null | grep -c '^map')" -ge "$2" ] && grep -q '^paint' "$log"; do
        if [ $(($(micros) - start)) -gt 20000000 ]; then
            echo "$1 showed no window within 20 s (the probe sees frames sent through MIT-SHM only)" >&2
            kill "$pid"
            exit 1
        fi
        sleep 0.05
    done
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v start="$start" '
        /^map/ { if (!map) map = $2; last = $2 }
        /^paint/ { paint = $2; rss = $3 }
        END { printf "%.1f %.1f %d %.0f\n", (map - start) / 1000, (paint - start) / 1000, rss, (last - start) / 1000 }' "$log"
}

# count_instructions <binary>: instructions until the first frame goes to the X server.
count_instructions() {
    local out=$work/callgrind pid waited=0
    rm -rf "$out" && mkdir "$out"
    env "${program_env[@]}" valgrind --tool=callgrind --dump-before=xcb_shm_put_image \
        --callgrind-out-file="$out/cg.%p" "$1" >/dev/null 2>&1 &
    pid=$!
    until grep -qs '^totals:' "$out/cg.$pid.1"; do
        waited=$((waited + 1))
        [ "$waited" -lt 1200 ] || { echo "$1 drew nothing under callgrind within 2 minutes" >&2; kill "$pid"; exit 1; }
        sleep 0.1
    done
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk '/^totals:/ { print $2 }' "$out/cg.$pid.1"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_of() { awk -v c="$2" '{ print $c }' "$1" | median; } # column_of <file> <column>

run_once "$bare" 1 >/dev/null
run_once "$zelk" 2 >/dev/null
: >"$work/bare.runs"
: >"$work/zelk.runs"
for _ in $(seq "$runs"); do
    run_once "$bare" 1 >>"$work/bare.runs"
    run_once "$zelk" 2 >>"$work/zelk.runs"
done
bare_instructions=$(count_instructions "$bare")
zelk_instructions=$(count_instructions "$zelk")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f×", a / b }'; }
millions() { awk -v n="$1" 'BEGIN { printf "%.1f M", n / 1e6 }'; }
bare_map=$(column_of "$work/bare.runs" 1)
bare_paint=$(column_of "$work/bare.runs" 2)
bare_rss=$(column_of "$work/bare.runs" 3)
zelk_map=$(column_of "$work/zelk.runs" 1)
zelk_paint=$(column_of "$work/zelk.runs" 2)
zelk_rss=$(column_of "$work/zelk.runs" 3)
main_map=$(column_of "$work/zelk.runs" 4)

echo "medians of $runs interleaved runs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $(uname -sr)"
echo
echo "| window | time to mapped | time to first frame | resident memory at first frame | instructions to first frame |"
echo "|---|---|---|---|---|"
echo "| bare Qt window | $bare_map ms | $bare_paint ms | $bare_rss KiB | $(millions "$bare_instructions") |"
echo "| zelk splash window | $zelk_map ms ($(ratio "$zelk_map" "$bare_map")) | $zelk_paint ms ($(ratio "$zelk_paint" "$bare_paint")) |" \
    "$zelk_rss KiB ($(ratio "$zelk_rss" "$bare_rss")) | $(millions "$zelk_instructions") ($(ratio "$zelk_instructions" "$bare_instructions")) |"
echo "| zelk main window | $main_map ms | | | |"
