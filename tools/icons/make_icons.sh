#!/bin/sh
# Builds the desktop icons (tools/icons/hicolor/SIZE/apps/zemo.png) from the walking figure of the
# splash picture. The icons are generated once and committed; the build installs them.
# Run from the repository root; needs ImageMagick's convert.
set -eu
for size in 16 32 48 64 128 256; do
    dir="tools/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    convert runtime/images/splash.XPM -crop 170x250+330+28 +repage -background '#0a1630' \
            -gravity center -extent 250x250 -resize "${size}x${size}" -strip "$dir/zemo.png"
done
