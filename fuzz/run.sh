#!/usr/bin/env bash
# Builds the libFuzzer target with clang (AddressSanitizer and UBSan), with the
# core and the settings code instrumented for coverage, runs it on the seed
# corpus for a bounded time and prints the executions and the coverage.
# Usage: fuzz/run.sh [seconds, default 60]
set -u
cd "$(dirname "$0")/.."
seconds=${1:-60}
# Today's target reaches well over 1000 coverage points from the seed corpus
# alone; a few hundred means that the libraries are built without the
# fuzzer's counters or that the settings and entry-list files are not fed.
minimum=${ZELK_FUZZ_MIN_COVERAGE:-800}
command -v clang++ >/dev/null || { echo "SKIP: clang++ is not installed (Debian: clang)"; exit 77; }
if ! cmake --preset fuzz >/dev/null || ! cmake --build --preset fuzz --target fuzz_core -j "$(nproc)" >/dev/null; then
    echo "FAILED: building the fuzz target"
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp fuzz/corpus/* "$work/corpus/"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build/fuzz/fuzz/fuzz_core -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ "$work/corpus" >"$work/log" 2>&1
status=$?
tail -n 25 "$work/log"
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
coverage=$(grep -o 'cov: [0-9]*' "$work/log" | tail -n 1 | cut -d' ' -f2)
echo "Executions: ${executions:-?}, coverage: ${coverage:-?} (in ${seconds} s)"
[ "$status" -eq 0 ] || exit "$status"
if [ "${coverage:-0}" -lt "$minimum" ]; then
    echo "FAILED: coverage ${coverage:-0} is below $minimum"
    exit 1
fi
