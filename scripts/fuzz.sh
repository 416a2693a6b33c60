#!/bin/sh
# Builds the libFuzzer targets (fuzz/) with clang into build-fuzz/ and runs each one for a
# bounded time from its seed corpus. Fails on any crash, leak, time-out or sanitizer report.
# FUZZ_SECONDS sets the time per target (10 when not given).
set -eu
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-10}"
targets="idf bon fim tga codecs args c3d trc"

mkdir -p build-fuzz
log=build-fuzz/build.log
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build build-fuzz -j "$(nproc)" >>"$log" 2>&1 || { cat "$log"; exit 1; }

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=""
for target in $targets; do
    # New inputs go to the scratch corpus in the build tree; the seeds in fuzz/corpus stay as kept.
    work="build-fuzz/corpus/$target"
    artifacts="build-fuzz/artifacts/$target"
    mkdir -p "$work" "$artifacts"
    log="build-fuzz/$target.log"
    start=$(date +%s)
    status=0
    dict=""
    [ -f "fuzz/$target.dict" ] && dict="-dict=fuzz/$target.dict"
    # shellcheck disable=SC2086
    "build-fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 $dict \
        -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    elapsed=$(( $(date +%s) - start ))
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ] || [ -z "$runs" ] || grep -q -e 'ERROR: \(AddressSanitizer\|LeakSanitizer\|libFuzzer\)' -e 'runtime error:' "$log"; then
        echo "fuzz_$target: FAILED after ${elapsed} s (exit $status); see $log and $artifacts/"
        grep -m 5 -e 'ERROR:' -e 'runtime error:' -e 'SUMMARY:' "$log" || tail -n 20 "$log"
        failed="$failed $target"
    else
        echo "fuzz_$target: $runs runs in ${elapsed} s, no findings"
    fi
done

if [ -n "$failed" ]; then
    echo "fuzzing found problems in:$failed" >&2
    exit 1
fi
