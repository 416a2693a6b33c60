#!/bin/sh
# Installs what is missing, builds, and starts Zemo on the bundled real capture.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
exec build/zemo build/samples/evart.idf
