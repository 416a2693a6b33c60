#!/bin/sh
# Configures and builds Zemo into build/, which is also the run-time folder.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build build -j "$(nproc)"
