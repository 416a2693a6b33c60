// The frames of a video, drawn as the view draws them and piped to ffmpeg.
#include "gui/gl/video_render.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/model/capture_model.h"
#include "gui/gl/scene_render.h"
#include "gui/kit/app_windows.h"
#include "platform/piped_program.h"

namespace {

// The slider's value without its handlers: each frame is drawn here once, not redrawn by them.
void set_frame_quietly(int frame) {
    GtkWidget* slider = main_widget("hscale_frame");
    if (slider) gtk_range_get_adjustment(GTK_RANGE(slider))->value = frame;
}

std::string last_line_of(const std::string& path) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line)) {
        if (!line.empty()) last = line;
    }
    return last;
}

}  // namespace

void video_size_of_view(int& width, int& height) {
    GtkWidget* area = main_widget("gtkglext_modelo3D");
    width = area ? area->allocation.width & ~1 : 0;
    height = area ? area->allocation.height & ~1 : 0;
}

std::string export_video(const VideoExport& request, const std::function<bool(int done, int total)>& progress) {
    const std::string problem = video_export_problem(request, app.num_frames);
    if (!problem.empty()) return problem;
    GtkWidget* area = main_widget("gtkglext_modelo3D");
    GtkWidget* slider = main_widget("hscale_frame");
    if (!area || !slider) return "There is no 3-D view to draw the video with";
    const std::string temporary = video_temporary_path(request.output);
    const std::string log = temporary + ".log";
    PipedProgram ffmpeg;
    std::string error;
    if (!ffmpeg.start(ffmpeg_video_arguments(request), log, error)) return "ffmpeg could not be started: " + error;
    const double shown = gtk_range_get_value(GTK_RANGE(slider));
    const int total = request.last - request.first + 1;
    std::vector<unsigned char> rows(static_cast<size_t>(request.width) * request.height * 3);
    std::string outcome;
    for (int f = request.first; f <= request.last && outcome.empty(); ++f) {
        set_frame_quietly(f);
        int width = 0, height = 0;
        const std::vector<unsigned char> pixels = render_view_pixels(area, width, height);
        if (pixels.empty() || width < request.width || height < request.height) {
            outcome = "The 3-D view cannot draw the video's frames";
            break;
        }
        // The bottom rows and left columns of the picture, at the video's size.
        for (int y = 0; y < request.height; ++y) {
            std::memcpy(&rows[static_cast<size_t>(y) * request.width * 3], &pixels[static_cast<size_t>(y) * width * 3],
                        static_cast<size_t>(request.width) * 3);
        }
        if (!ffmpeg.write(rows.data(), rows.size())) outcome = "ffmpeg stopped taking frames";
        if (outcome.empty() && progress && !progress(f - request.first + 1, total)) outcome = "Cancelled";
    }
    set_frame_quietly(static_cast<int>(shown));
    if (outcome.empty()) {
        const int code = ffmpeg.finish();
        if (code == 127) {
            outcome = "ffmpeg could not be run (is it installed?)";
        } else if (code != 0) {
            const std::string why = last_line_of(log);
            outcome = "ffmpeg failed" + (why.empty() ? std::string() : ": " + why);
        } else if (std::rename(temporary.c_str(), request.output.c_str()) != 0) {
            outcome = "The video could not be written as " + request.output;
        }
    } else {
        ffmpeg.stop();
    }
    if (!outcome.empty()) std::remove(temporary.c_str());
    std::remove(log.c_str());
    return outcome;
}
