#!/bin/sh
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs it with ctest on the display it is given (scripts/test.sh runs it inside its xvfb-run).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${DISPLAY:-}" ]; then
    echo "sanitize.sh: no DISPLAY; run it inside xvfb-run (scripts/test.sh does)" >&2
    exit 2
fi
# -O1 keeps the heaviest tests (the diagnosis runs over whole captures) inside their 60 s limit.
flags="-O1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$flags" >/dev/null
cmake --build build-asan -j 2 --target zemo_tests zemo_gui_tests zemo_input_tests zemo zemo-cli
# Leaks inside GTK, GLib, X11 and Mesa are not ours; scripts/lsan.supp names only those libraries.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export G_DEBUG=fatal-criticals
# llvmpipe's rasterizer threads crash LeakSanitizer's scan at exit; one thread renders the same.
export LP_NUM_THREADS=0
# Mesa's shader disk cache writes from a thread of its own, another thread for the scan to race.
export MESA_SHADER_CACHE_DISABLE=true
# LeakSanitizer's tracer itself sometimes dies at exit while suspending a library's thread
# ("Tracer caught signal 11"), after the test has passed: GLib's and Mesa's threads, which our
# code does not own. Every test runs once; a test that failed only that way (no failed
# expectation, no sanitizer report, no leak) gets one more run by name. Any other failure fails
# the run at once.
status=0
ctest --test-dir build-asan --output-on-failure -j 2 "$@" || status=$?
[ "$status" -eq 0 ] && exit 0
log=build-asan/Testing/Temporary/LastTest.log
failed=build-asan/Testing/Temporary/LastTestsFailed.log
[ -f "$log" ] && [ -f "$failed" ] || exit "$status"
crashed=$(awk '
    /^[0-9]+\/[0-9]+ Testing: / { name = $3; tracer = 0; other = 0; next }
    /Tracer caught signal/ { tracer = 1 }
    /\[  FAILED  \]|ERROR: AddressSanitizer|runtime error:|detected memory leaks/ { other = 1 }
    /^"[^"]*" end time:/ { if (tracer && !other) print name }
' "$log" | sort -u)
others=$(cut -d: -f2- "$failed" | sort -u | grep -vxF "$crashed" || true)
if [ -n "$others" ] || [ -z "$crashed" ]; then
    exit "$status"
fi
echo "sanitize.sh: the leak tracer crashed after these passed; running them again:" >&2
echo "$crashed" | sed 's/^/    /' >&2
names=$(echo "$crashed" | sed 's/[.]/\\./g' | paste -sd'|')
exec ctest --test-dir build-asan --output-on-failure -R "^($names)\$" "$@"
