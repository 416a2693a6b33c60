// ffmpeg's arguments for a video export.
#include "engine/scene/video_export.h"

#include <cctype>
#include <cstdio>

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// An AVI codec of codecs.dat onto ffmpeg's encoder and the pixel layout it takes.
std::vector<std::string> avi_codec(const std::string& code) {
    const struct {
        const char* code;
        std::vector<std::string> arguments;
    } table[] = {
        {"MJPG", {"-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"}},
        {"FMP4", {"-c:v", "mpeg4", "-q:v", "3", "-pix_fmt", "yuv420p"}},
        {"XVID", {"-c:v", "libxvid", "-q:v", "3", "-pix_fmt", "yuv420p", "-vtag", "XVID"}},
        {"H264", {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p"}},
        {"MP42", {"-c:v", "msmpeg4v2", "-q:v", "3", "-pix_fmt", "yuv420p"}},
        {"MP43", {"-c:v", "msmpeg4", "-q:v", "3", "-pix_fmt", "yuv420p"}},
        {"WMV1", {"-c:v", "wmv1", "-q:v", "3", "-pix_fmt", "yuv420p"}},
        {"WMV2", {"-c:v", "wmv2", "-q:v", "3", "-pix_fmt", "yuv420p"}},
        {"MSVC", {"-c:v", "msvideo1"}},
        {"cvid", {"-c:v", "cinepak"}},
        {"FFV1", {"-c:v", "ffv1"}},
        {"HFYU", {"-c:v", "huffyuv"}},
        {"FFVH", {"-c:v", "ffvhuff"}},
        {"ULRG", {"-c:v", "utvideo"}},
        {"ZMBV", {"-c:v", "zmbv"}},
    };
    for (const auto& entry : table) {
        if (code == entry.code) return entry.arguments;
    }
    return {"-c:v", "rawvideo", "-pix_fmt", "bgr24"};
}

}  // namespace

bool video_is_avi(const std::string& output) {
    return output.size() >= 4 && lower(output.substr(output.size() - 4)) == ".avi";
}

std::string video_temporary_path(const std::string& output) { return output + ".part"; }

std::vector<std::string> ffmpeg_video_arguments(const VideoExport& request) {
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-f", "rawvideo",
                                     "-pix_fmt", "rgb24", "-s",
                                     std::to_string(request.width) + "x" + std::to_string(request.height),
                                     "-framerate", number(request.rate), "-i", "pipe:0",
                                     // OpenGL reads rows from the bottom up.
                                     "-vf", "vflip"};
    const bool avi = video_is_avi(request.output);
    const std::vector<std::string> codec =
        avi ? avi_codec(request.codec) : std::vector<std::string>{"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p"};
    args.insert(args.end(), codec.begin(), codec.end());
    args.insert(args.end(), {"-f", avi ? "avi" : "mp4"});
    // "file:" keeps a name that begins with "-" or looks like "proto:..." a file name.
    args.push_back("file:" + video_temporary_path(request.output));
    return args;
}

std::string video_export_problem(const VideoExport& request, int num_frames) {
    if (request.output.empty()) return "No file name for the video";
    if (num_frames <= 0) return "No capture to export";
    if (request.first < 0 || request.last >= num_frames || request.first > request.last) {
        return "The frames to export must lie within 0 and " + std::to_string(num_frames - 1);
    }
    if (request.width < 16 || request.height < 16 || request.width % 2 || request.height % 2) {
        return "The video's size must be even numbers of at least 16 pixels";
    }
    if (!(request.rate > 0)) return "The video's rate must be above 0";
    return {};
}
