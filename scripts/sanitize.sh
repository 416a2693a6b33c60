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
# ("Tracer caught signal 11"): GLib's worker thread, which the program starts for its SIGINT and
# SIGTERM handlers, in the program this start-up test runs to the end. That test alone gets a
# second run; a real error or leak is found again on it and fails it. Every other test runs once.
tracer_crash='^StartupTest\.OpensARelativeCaptureAndQuitsOnSigterm$'
status=0
ctest --test-dir build-asan --output-on-failure -j 2 -E "$tracer_crash" "$@" || status=$?
ctest --test-dir build-asan --output-on-failure -R "$tracer_crash" --repeat until-pass:2 "$@" || status=$?
exit "$status"
