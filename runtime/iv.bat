#!/bin/sh
# iv.bat FPS FILE KFPS CODEC QUALITY: turns img000000.bmp, img000001.bmp, ... of the working
# folder into the AVI video FILE with the codec CODEC (a code of codecs.dat; "DIB" is
# uncompressed), FPS frames and KFPS key frames a second and QUALITY from 1 (worst) to 10000
# (best). Zemo starts it in the folder it recorded the frames into, with FILE made absolute, and
# does not wait: when ffmpeg ends, whatever its result, the images are removed and then that
# folder itself.
fps=${1:-20}
file=${2:-TempVideoZemo.avi}
kfps=${3:-1}
codec=${4:-DIB}
quality=${5:-7500}

# The numbers are digits only; anything else takes the default.
case "$fps" in '' | *[!0-9]*) fps=20 ;; esac
case "$kfps" in '' | *[!0-9]*) kfps=1 ;; esac
case "$quality" in '' | *[!0-9]*) quality=7500 ;; esac
[ "$fps" -ge 1 ] || fps=1

# A key frame every FPS / KFPS frames; 0 key frames a second leaves only the first.
if [ "$kfps" -gt 0 ]; then
    gop=$((fps / kfps))
    [ "$gop" -lt 1 ] && gop=1
else
    gop=100000
fi
# Quality 1..10000 onto the encoders' scales: qscale 31..2, crf 51..0.
[ "$quality" -ge 1 ] || quality=1
[ "$quality" -le 10000 ] || quality=10000
qscale=$((31 - quality * 29 / 10000))
crf=$((51 - quality * 51 / 10000))
even="pad=ceil(iw/2)*2:ceil(ih/2)*2"

case "$codec" in
    MJPG) set -- -c:v mjpeg -q:v "$qscale" -pix_fmt yuvj420p -vf "$even" ;;
    FMP4) set -- -c:v mpeg4 -q:v "$qscale" -pix_fmt yuv420p -vf "$even" ;;
    XVID) set -- -c:v libxvid -q:v "$qscale" -pix_fmt yuv420p -vf "$even" -vtag XVID ;;
    H264) set -- -c:v libx264 -crf "$crf" -pix_fmt yuv420p -vf "$even" ;;
    MP42) set -- -c:v msmpeg4v2 -q:v "$qscale" -pix_fmt yuv420p -vf "$even" ;;
    MP43) set -- -c:v msmpeg4 -q:v "$qscale" -pix_fmt yuv420p -vf "$even" ;;
    WMV1) set -- -c:v wmv1 -q:v "$qscale" -pix_fmt yuv420p -vf "$even" ;;
    WMV2) set -- -c:v wmv2 -q:v "$qscale" -pix_fmt yuv420p -vf "$even" ;;
    MSVC) set -- -c:v msvideo1 -vf "pad=ceil(iw/4)*4:ceil(ih/4)*4" ;;
    cvid) set -- -c:v cinepak -vf "pad=ceil(iw/4)*4:ceil(ih/4)*4" ;;
    FFV1) set -- -c:v ffv1 ;;
    HFYU) set -- -c:v huffyuv ;;
    FFVH) set -- -c:v ffvhuff ;;
    ULRG) set -- -c:v utvideo ;;
    ZMBV) set -- -c:v zmbv ;;
    *) set -- -c:v rawvideo -pix_fmt bgr24 ;;
esac

# "file:" keeps a name that begins with "-" or looks like "proto:..." a file name for ffmpeg.
ffmpeg -nostdin -y -loglevel error -framerate "$fps" -start_number 0 -i img%06d.bmp "$@" -g "$gop" -r "$fps" "file:$file"
status=$?
rm -f img[0-9][0-9][0-9][0-9][0-9][0-9].bmp
# Only a folder Zemo made for the frames goes, and only once it is empty.
folder=$PWD
case "${folder##*/}" in
    zemo-frames-*) cd / && rmdir "$folder" ;;
esac
exit "$status"
