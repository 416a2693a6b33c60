#!/bin/sh
# Installs what is missing, builds, and runs every check: the layout rule (which folders may
# include which, no GTK or GL in zemo-cli), the fuzzers over every reader for a bounded time,
# the whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer, then the
# whole test suite as it ships, both on a virtual display.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
sh scripts/check-layout.sh
sh scripts/fuzz.sh
unset DISPLAY
# Criticals are bugs; plain warnings are not (the view warns when OpenGL is missing).
export G_DEBUG=fatal-criticals
# -noreset: by default the server starts afresh whenever its last client leaves, and a program
# started in that moment cannot open the display; tests come and go two at a time.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" \
    sh -c 'sh scripts/sanitize.sh && ctest --test-dir build --output-on-failure -j 2'
