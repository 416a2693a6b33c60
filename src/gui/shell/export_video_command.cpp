// The command-line video export. The main window is built and realized but never mapped, so the
// frames are drawn by the same view, at the size asked for, without a window on the screen.
#include "gui/shell/export_video_command.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/skeleton/skeleton_file.h"
#include "gui/gl/capture_view.h"
#include "gui/gl/gl_view.h"
#include "gui/gl/video_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/shell/startup.h"
#include "platform/paths.h"

namespace {

constexpr const char* USAGE =
    "usage: zemo --export-video OUT [--from F] [--to F] [--size W,H] [--skeleton BON] [--labels] CAPTURE\n";

struct Options {
    std::string output, capture, skeleton;
    int from = 0, to = -1;  // -1: the last frame
    int width = 800, height = 600;
    bool labels = false;
};

bool read_int(const char* text, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < -1000000000L || v > 1000000000L) return false;
    value = static_cast<int>(v);
    return true;
}

bool read_options(int argc, char** argv, Options& o) {
    std::string positional[2];
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--from" && has_value) {
            if (!read_int(argv[++i], o.from)) return false;
        } else if (a == "--to" && has_value) {
            if (!read_int(argv[++i], o.to)) return false;
        } else if (a == "--size" && has_value) {
            const std::string size = argv[++i];
            const size_t comma = size.find(',');
            if (comma == std::string::npos || !read_int(size.substr(0, comma).c_str(), o.width) ||
                !read_int(size.substr(comma + 1).c_str(), o.height)) {
                return false;
            }
        } else if (a == "--skeleton" && has_value) {
            o.skeleton = argv[++i];
        } else if (a == "--labels") {
            o.labels = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return false;
        } else if (count < 2) {
            positional[count++] = a;
        } else {
            return false;
        }
    }
    if (count != 2) return false;
    o.output = absolute_path(positional[0]);
    o.capture = absolute_path(positional[1]);
    if (!o.skeleton.empty()) o.skeleton = absolute_path(o.skeleton);
    return true;
}

// Messages are lines on standard error: there is nobody to answer a box.
void report_on_console() {
    Seams seams = installed_seams();
    seams.show_message = [](const std::string& text, int, int) {
        std::fprintf(stderr, "zemo: %s\n", text.c_str());
        return 0;
    };
    seams.collect_messages = false;
    install_seams(seams);
}

// The window gets its size and windows on the display, but is never mapped.
void realize_unshown(int width, int height) {
    GtkWidget* window = app_windows.main_window;
    GtkWidget* area = main_widget("gtkglext_modelo3D");
    gtk_widget_set_size_request(area, width, height);
    GtkRequisition requisition;
    gtk_widget_size_request(window, &requisition);
    gtk_widget_realize(window);
    GtkAllocation allocation{0, 0, requisition.width, requisition.height};
    gtk_widget_size_allocate(window, &allocation);
    gtk_widget_realize(area);
    process_pending_events();
}

}  // namespace

bool is_export_video_command(int argc, char** argv) { return argc > 1 && std::strcmp(argv[1], "--export-video") == 0; }

int export_video_command(int argc, char** argv) {
    Options o;
    if (!read_options(argc, argv, o) || o.width < 16 || o.height < 16 || o.width % 2 || o.height % 2) {
        std::fputs(USAGE, stderr);
        if (o.width % 2 || o.height % 2) std::fputs("zemo: the size must be even numbers of at least 16 pixels\n", stderr);
        return 2;
    }
    if (!init_toolkit()) {
        std::fputs("zemo --export-video: needs an X display (DISPLAY); without a screen run it under xvfb-run\n", stderr);
        return 1;
    }
    if (!enter_program_directory(argv[0])) {
        std::fputs("zemo: cannot enter the program's folder\n", stderr);
        return 1;
    }
    create_interface();
    report_on_console();
    if (app_windows.splash_window) gtk_widget_hide(app_windows.splash_window);
    realize_unshown(o.width, o.height);
    open_startup_capture(o.capture.c_str());
    if (app.current_layer == 0) {
        std::fprintf(stderr, "zemo: cannot open %s\n", o.capture.c_str());
        return 1;
    }
    if (!o.skeleton.empty() && skeleton_open(app, o.skeleton) != 0) {
        std::fprintf(stderr, "zemo: cannot read the skeleton %s\n", o.skeleton.c_str());
        return 1;
    }
    set_widget_active("check_ver_labels", o.labels);
    fit_view_to_current_layer();
    VideoExport request;
    request.output = o.output;
    request.first = o.from;
    request.last = o.to < 0 ? app.num_frames - 1 : o.to;
    request.width = o.width;
    request.height = o.height;
    request.rate = app.capture_rate;
    const std::string outcome = export_video(request, nullptr);
    if (!outcome.empty()) {
        std::fprintf(stderr, "zemo: %s\n", outcome.c_str());
        return 1;
    }
    return 0;
}
