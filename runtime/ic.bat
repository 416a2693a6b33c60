#!/bin/sh
# Start-up script, run by Zemo each time it starts: prepares the run-time folder beside the
# program. Harmless to run any number of times.
cd -- "$(dirname -- "$0")" || exit 0
mkdir -p gplot
