#!/bin/sh
# ivc.bat FPS FILE KFPS: turns img000000.bmp, img000001.bmp, ... of the working folder into the
# uncompressed AVI video FILE at FPS frames a second (every frame of a raw video is a key frame,
# KFPS is accepted for the same command line as iv.bat). Zemo starts it in the folder it
# recorded the frames into, with FILE made absolute, and does not wait: when ffmpeg ends,
# whatever its result, the images are removed and then that folder itself.
fps=${1:-20}
file=${2:-TempVideoZemo.avi}

# The frame rate is digits only; anything else takes the default.
case "$fps" in '' | *[!0-9]*) fps=20 ;; esac
[ "$fps" -ge 1 ] || fps=1

# "file:" keeps a name that begins with "-" or looks like "proto:..." a file name for ffmpeg.
ffmpeg -nostdin -y -loglevel error -framerate "$fps" -start_number 0 -i img%06d.bmp -c:v rawvideo -pix_fmt bgr24 -r "$fps" "file:$file"
status=$?
rm -f img[0-9][0-9][0-9][0-9][0-9][0-9].bmp
# Only a folder Zemo made for the frames goes, and only once it is empty.
folder=$PWD
case "${folder##*/}" in
    zemo-frames-*) cd / && rmdir "$folder" ;;
esac
exit "$status"
