#!/bin/sh
# Builds the Debian package: installs what is missing, builds the programs alone (no tests) into
# build-deb/ and writes build-deb/zemo_VERSION_amd64.deb, dependencies found by dpkg-shlibdeps.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DZEMO_TESTS=OFF >/dev/null
cmake --build build-deb -j "$(nproc)"
cd build-deb
cpack -G DEB
