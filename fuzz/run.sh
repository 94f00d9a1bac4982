#!/usr/bin/env bash
# Builds the core's libFuzzer target with clang (AddressSanitizer and UBSan)
# and runs it on the seed corpus for a bounded time.
# Usage: fuzz/run.sh [seconds, default 60]
set -u
cd "$(dirname "$0")/.."
seconds=${1:-60}
command -v clang++ >/dev/null || { echo "SKIP: clang++ is not installed (Debian: clang)"; exit 77; }
if ! cmake --preset fuzz >/dev/null || ! cmake --build --preset fuzz --target fuzz_core -j "$(nproc)" >/dev/null; then
    echo "FAILED: building the fuzz target"
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work"/
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build/fuzz/fuzz/fuzz_core -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/ "$work" 2>&1 | tail -n 25
exit "${PIPESTATUS[0]}"
