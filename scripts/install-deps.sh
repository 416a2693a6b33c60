#!/bin/sh
# Installs the Debian packages Zemo needs to build, run and test, skipping apt
# entirely when everything is already there. Safe to run any number of times.
set -eu

PACKAGES="g++ cmake make pkg-config libgtk2.0-dev libgtkglext1-dev libglu1-mesa-dev
libgl1-mesa-dri libxml2-dev libgtest-dev googletest xvfb xauth xdotool imagemagick
gnuplot-nox ffmpeg locales libfuzzylite-dev clang libclang-rt-14-dev dpkg-dev desktop-file-utils"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    as_root apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends $missing
fi

# The tests read and write numbers under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not create the de_DE.UTF-8 locale" >&2
fi
