// Playback speed of the real window at 800 x 600 on a capture, with bones, trajectories and
// arrows, then with the trail; and the resident memory the playback adds.
#include <GL/gl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "engine/model/capture_model.h"
#include "engine/scene/view_state.h"
#include "gui/gl/gl_context.h"
#include "gui/gl/gl_view.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/shell/startup.h"
#include "platform/paths.h"

namespace {

constexpr int FRAMES_PLAYED = 2000;
constexpr int CHOSEN_MARKS = 10;

long frames_shown = 0;

void count_frame(GtkRange*, gpointer) { ++frames_shown; }

// Plays until `frames` more frames have been shown; returns frames per second.
double play(long frames) {
    frames_shown = 0;
    set_widget_active("boton_play", true);
    const auto start = std::chrono::steady_clock::now();
    while (frames_shown < frames) g_main_context_iteration(nullptr, TRUE);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    set_widget_active("boton_play", false);
    process_pending_events();
    return frames / took.count();
}

void select_first_rows(const char* list, int rows) {
    for (int r = 0; r < rows && r < app.mark_count(); ++r) gtk_clist_select_row(GTK_CLIST(main_widget(list)), r, 0);
}

std::string renderer_name() {
    GlSection gl(main_widget("gtkglext_modelo3D"));
    const auto* name = gl.open() ? reinterpret_cast<const char*>(glGetString(GL_RENDERER)) : nullptr;
    return name ? name : "unknown";
}

}  // namespace

int bench_view(const std::string& capture) {
    if (!init_toolkit()) {
        std::fprintf(stderr, "zemo-bench view: needs a display (run it under xvfb-run)\n");
        return 2;
    }
    const std::string path = absolute_path(capture);
    if (!enter_program_directory(nullptr)) return 2;
    create_interface();
    gtk_widget_hide(app_windows.splash_window);
    GtkWidget* view_widget = main_widget("gtkglext_modelo3D");
    gtk_widget_set_size_request(view_widget, 800, 600);
    gtk_widget_show(app_windows.main_window);
    process_pending_events();
    open_startup_capture(path.c_str());
    if (app.current_layer == 0) {
        std::fprintf(stderr, "zemo-bench view: cannot open %s\n", path.c_str());
        return 1;
    }
    // Playback as fast as drawing allows: the figures measure drawing, not the clock.
    set_widget_active("check_ver_tiempo_real", false);
    for (int m = 0; m + 1 < app.mark_count() && app.bone_count < 100; ++m) {
        app.bones[app.bone_count++] = {m % COLOUR_COUNT, m, m + 1};
    }
    set_widget_active("check_ver_trazas", true);
    select_first_rows("list_ver_trazas", CHOSEN_MARKS);
    set_widget_active("checkbutton_velocity", true);
    set_widget_active("checkbutton_acceleration", true);
    select_first_rows("clist_entity", CHOSEN_MARKS);
    g_signal_connect(main_widget("hscale_frame"), "value-changed", G_CALLBACK(count_frame), nullptr);
    process_pending_events();
    std::fprintf(stderr, "renderer: %s, view %d x %d, %d marks, %d frames, %d bones\n", renderer_name().c_str(),
                 view.view_width, view.view_height, app.mark_count(), app.num_frames, app.bone_count);

    // Warm up both configurations over a whole loop: the renderer keeps pools sized by the
    // busiest frame drawn so far (the trail near the end of the capture), which are not ours.
    set_widget_value("spin_ver_rastro", 50);
    play(app.num_frames);
    set_widget_value("spin_ver_rastro", 0);
    play(app.num_frames);
    const long long before = resident_bytes();
    report("playback", play(FRAMES_PLAYED), "fps");
    set_widget_value("spin_ver_rastro", 50);
    report("playback_trail", play(FRAMES_PLAYED), "fps");
    report("playback_rss_growth", (resident_bytes() - before) / 1e6, "MB");
    return 0;
}
