#!/usr/bin/env bash
# Runs the libFuzzer target for a bounded time, starting from the committed
# seed corpus, and prints the executions and the coverage. Everything it
# writes (the growing corpus, crash inputs) goes into the output folder.
# ./dev.sh test builds the target: cmake --preset fuzz && cmake --build --preset fuzz
# Usage: fuzz/run.sh <fuzz_core binary> <output folder> [seconds, default 60]
set -u
fuzzer=$1
out=$2
seconds=${3:-60}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
# Today's target reaches well over 1000 coverage points from the seed corpus
# alone; a few hundred means that the libraries are built without the
# fuzzer's counters or that the settings and entry-list files are not fed.
minimum=${ZELK_FUZZ_MIN_COVERAGE:-800}
build_it="build it with: cmake --preset fuzz && cmake --build --preset fuzz --target fuzz_core"
[ -x "$fuzzer" ] || { echo "SKIP: $fuzzer is not built ($build_it)"; exit 77; }
# A target older than the code it drives would test yesterday's code.
top=$(dirname "$seeds")/..
stale=$(find "$top/src/core" "$top/src/settings" "$top/fuzz" -name '*.[ch]*' -newer "$fuzzer" -print -quit)
[ -z "$stale" ] || { echo "SKIP: $fuzzer is older than $stale ($build_it)"; exit 77; }

rm -rf "$out/corpus" && mkdir -p "$out/corpus" || exit 1
cp "$seeds"/* "$out/corpus/"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" >"$out/log" 2>&1
status=$?
tail -n 25 "$out/log"
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log")
coverage=$(grep -o 'cov: [0-9]*' "$out/log" | tail -n 1 | cut -d' ' -f2)
echo "Executions: ${executions:-?}, coverage: ${coverage:-?} (in ${seconds} s)"
[ "$status" -eq 0 ] || { echo "FAILED: the input that broke it is in $out/"; exit "$status"; }
if [ "${coverage:-0}" -lt "$minimum" ]; then
    echo "FAILED: coverage ${coverage:-0} is below $minimum"
    exit 1
fi
