// What a video export asks ffmpeg for: raw RGB frames on its standard input at the capture's
// rate, written as MP4 (H.264, yuv420p, which plays everywhere) or as AVI with a codec of
// codecs.dat. The file is written under a temporary name and takes its own only when ffmpeg
// has finished well, so a cancelled or failed export leaves no partial file.
#pragma once

#include <string>
#include <vector>

struct VideoExport {
    std::string output;   // the file asked for; ".avi" makes an AVI, anything else MP4
    std::string codec = "H264";  // the codecs.dat code of an AVI
    int first = 0, last = 0;     // frame indices, both included
    int width = 0, height = 0;   // pixels of each frame
    double rate = 0;             // frames per second
};

// True when the file asked for is an AVI.
bool video_is_avi(const std::string& output);
// Where ffmpeg writes until it has finished.
std::string video_temporary_path(const std::string& output);
// ffmpeg's argument vector: frames bottom row first, RGB, `width` x `height`.
std::vector<std::string> ffmpeg_video_arguments(const VideoExport& request);
// The reason a request cannot be exported, or empty.
std::string video_export_problem(const VideoExport& request, int num_frames);
