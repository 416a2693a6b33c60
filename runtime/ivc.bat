#!/bin/sh
# ivc.bat FPS "FILE" KFPS: turns img000000.bmp, img000001.bmp, ... of this folder into the
# uncompressed AVI video FILE at FPS frames a second (every frame of a raw video is a key frame,
# KFPS is accepted for the same command line as iv.bat); then removes the images.
# Started by Zemo when recording ends; Zemo does not wait for it.
cd "$(dirname "$0")" || exit 1
fps=${1:-20}
file=${2:-TempVideoZemo.avi}

ffmpeg -nostdin -y -loglevel error -framerate "$fps" -start_number 0 -i img%06d.bmp -c:v rawvideo -pix_fmt bgr24 -r "$fps" "$file"
status=$?
rm -f img[0-9][0-9][0-9][0-9][0-9][0-9].bmp
exit $status
