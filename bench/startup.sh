#!/usr/bin/env bash
# Start-up figures under Xvfb + openbox: time from launch until a window is
# mapped, and the resident memory at that moment, for zelk's splash window,
# zelk's main window and a bare Qt window built from the same tree.
# Median of RUNS runs after one warm-up run.
# Usage: bench/startup.sh [build folder, default build/release] [runs, default 7]
set -euo pipefail
build=${1:-build/release}
runs=${2:-7}
zelk=$build/src/app/zelk
bare=$build/bench/barewindow
for tool in Xvfb openbox xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (Debian: xvfb openbox xdotool)"; exit 1; }
done

export DISPLAY=:$((150 + RANDOM % 50))
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
home=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null; rm -rf "$home"' EXIT
sleep 0.5

now_ms() { date +%s%3N; }
rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

# measure <binary> <window name, or empty for the first window of the process>
# prints "milliseconds kilobytes"
measure() {
    local start pid id
    start=$(now_ms)
    HOME=$home XDG_CONFIG_HOME=$home/config LANG=de_DE.UTF-8 "$1" >/dev/null 2>&1 &
    pid=$!
    while :; do
        if [ -n "$2" ]; then
            id=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1 || true)
        else
            id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
        fi
        [ -n "$id" ] && break
        if [ $(( $(now_ms) - start )) -gt 20000 ]; then echo "timeout"; kill $pid; return 1; fi
    done
    echo "$(( $(now_ms) - start )) $(rss_kb $pid)"
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null || true
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : int((a[NR / 2] + a[NR / 2 + 1]) / 2)}'; }

report() { # report <label> <binary> <window name>
    local times=() mems=() line
    measure "$2" "$3" >/dev/null
    for _ in $(seq "$runs"); do
        line=$(measure "$2" "$3")
        times+=("${line% *}")
        mems+=("${line#* }")
    done
    printf '%-28s %8s ms %10s KiB\n' "$1" "$(printf '%s\n' "${times[@]}" | median)" \
        "$(printf '%s\n' "${mems[@]}" | median)"
}

echo "median of $runs runs on $(nproc) cores, $(uname -sr)"
report "bare Qt window" "$bare" ""
report "zelk splash window" "$zelk" ""
report "zelk main window" "$zelk" "Freeware"
