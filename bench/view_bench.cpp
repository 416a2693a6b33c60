// Playback speed of the real window at 800 x 600 on a capture, with bones, trajectories and
// arrows, then with the trail, each beside the pieces re-tessellated at every frame; long
// trajectories; how far the two pictures differ; the resident memory the playback adds; the time
// a pick takes; and the speed of a video export to MP4.
#include <GL/gl.h>
#include <unistd.h>

#include <glib/gstdio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_support.h"
#include "engine/formats/idf/idf_header.h"
#include "engine/formats/idf/idf_writer.h"
#include "engine/model/capture_model.h"
#include "engine/scene/picking.h"
#include "engine/scene/view_state.h"
#include "gui/gl/gl_context.h"
#include "gui/gl/gl_view.h"
#include "gui/gl/scene_render.h"
#include "gui/gl/unit_shapes.h"
#include "gui/gl/video_render.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/shell/file_commands.h"
#include "gui/shell/startup.h"
#include "platform/paths.h"

namespace {

constexpr int FRAMES_PLAYED = 2000;
constexpr int CHOSEN_MARKS = 10;
constexpr int LONG_FRAMES = 100000;
// A pixel counts as changed when a channel moved by more than this.
constexpr int PIXEL_TOLERANCE = 24;

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

// Frames per second drawn with the kept pieces and with the pieces re-tessellated at every frame,
// both reported, then the ratio.
// The two take turns, three times, and each keeps its best turn: the machine's other load comes and
// goes, and each turn meets it alike.
void compare_playback(const std::string& name, long frames, long baseline_frames) {
    double kept = 0, baseline = 0;
    for (int turn = 1; turn <= 3; ++turn) {
        const double kept_turn = play(frames / 3);
        set_immediate_shapes(true);
        const double baseline_turn = play(baseline_frames / 3);
        set_immediate_shapes(false);
        std::fprintf(stderr, "%s run %d: %.1f fps, baseline %.1f fps\n", name.c_str(), turn, kept_turn, baseline_turn);
        kept = std::max(kept, kept_turn);
        baseline = std::max(baseline, baseline_turn);
    }
    report(name, kept, "fps");
    report(name + "_baseline", baseline, "fps");
    report(name + "_speedup", kept / baseline, "x");
}

// Percent of the view's pixels that differ between the two ways of drawing, at the frame shown.
// With ZEMO_BENCH_PICTURES set to a folder, both pictures are written there as PPM files.
double picture_difference(const char* label) {
    GtkWidget* area = main_widget("gtkglext_modelo3D");
    int width = 0, height = 0;
    const std::vector<unsigned char> kept = render_view_pixels(area, width, height);
    set_immediate_shapes(true);
    const std::vector<unsigned char> baseline = render_view_pixels(area, width, height);
    set_immediate_shapes(false);
    if (kept.empty() || kept.size() != baseline.size()) return -1;
    if (const char* folder = std::getenv("ZEMO_BENCH_PICTURES")) {
        for (const auto& [suffix, pixels] : {std::pair{"kept", &kept}, std::pair{"baseline", &baseline}}) {
            const std::string path = std::string(folder) + "/" + label + "_" + suffix + ".ppm";
            if (FILE* out = std::fopen(path.c_str(), "wb")) {
                std::fprintf(out, "P6 %d %d 255\n", width, height);
                for (int y = height - 1; y >= 0; --y) std::fwrite(pixels->data() + static_cast<size_t>(y) * width * 3, 1, width * 3, out);
                std::fclose(out);
            }
        }
    }
    long changed = 0;
    for (size_t i = 0; i < kept.size(); i += 3) {
        bool differs = false;
        for (int c = 0; c < 3; ++c) differs |= std::abs(kept[i + c] - baseline[i + c]) > PIXEL_TOLERANCE;
        changed += differs;
    }
    return 100.0 * changed / (static_cast<double>(width) * height);
}

// A capture of CHOSEN_MARKS marks over LONG_FRAMES frames whose paths wind over the whole box
// without repeating, written as IDF; empty when it cannot be written.
std::string write_long_capture() {
    CaptureData data;
    data.capture_rate = 100;
    data.num_frames = LONG_FRAMES;
    data.set_columns(3 * CHOSEN_MARKS);
    for (int m = 0; m < CHOSEN_MARKS; ++m) {
        auto samples = std::make_shared_for_overwrite<Sample[]>(LONG_FRAMES);
        for (int f = 0; f < LONG_FRAMES; ++f) {
            samples[f] = {1000 * std::sin(0.01 * f + m), 500 * std::cos(0.013 * f + m), 900 + 100 * std::sin(0.02 * f)};
        }
        data.channels[m].name = std::make_shared<const std::string>("M" + std::to_string(m));
        data.channels[m].samples = std::move(samples);
    }
    const std::string path = bench_temp_dir() + "/long.idf";
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out) return "";
    std::vector<std::string> names;
    for (int m = 0; m < CHOSEN_MARKS; ++m) names.push_back("M" + std::to_string(m));
    const bool written = idf_write_stream(data, idf_header_text(data.capture_rate, LONG_FRAMES, names), out);
    return std::fclose(out) == 0 && written ? path : "";
}

// Playback of the long capture with every frame of its marks' trajectories shown.
void bench_long_trajectories() {
    const std::string path = write_long_capture();
    if (path.empty()) {
        std::fprintf(stderr, "zemo-bench view: cannot write the long capture\n");
        return;
    }
    file_close();
    open_startup_capture(path.c_str());
    if (app.current_layer == 0) {
        std::fprintf(stderr, "zemo-bench view: cannot open the long capture\n");
        return;
    }
    set_widget_active("check_ver_trazas", true);
    select_first_rows("list_ver_trazas", CHOSEN_MARKS);
    process_pending_events();
    std::fprintf(stderr, "long capture: %d marks, %d frames, trajectories of frames %d to %d\n", app.mark_count(),
                 app.num_frames, widget_int("spin_ver_origen_trazas"), widget_int("spin_ver_destino_trazas"));
    play(50);
    compare_playback("playback_trajectories", 600, 15);
    report("picture_difference_trajectories", picture_difference("trajectories"), "%");
}

std::string renderer_name() {
    GlSection gl(main_widget("gtkglext_modelo3D"));
    const auto* name = gl.open() ? reinterpret_cast<const char*>(glGetString(GL_RENDERER)) : nullptr;
    return name ? name : "unknown";
}

// Milliseconds per pick: clicks on every valid mark of the frames, through the projection that
// drawing uses.
double pick_milliseconds() {
    const ViewMatrices matrices = view_matrices(widget_value("spin_ver_zoom"), false);
    const LayerPlacement placement;
    const double radius = widget_value("spin_ver_marcas");
    long picks = 0, hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int f = 0; f < app.num_frames; f += 10) {
        for (int m = 0; m < app.mark_count(); ++m) {
            const Sample& s = app.channels[m].samples[f];
            if (is_lost(s.x) || is_lost(s.y) || is_lost(s.z)) continue;
            const auto at = project_point(matrices, {s.x, s.y, s.z});
            hits += pick_mark(app, f, placement, matrices, radius, at[0], matrices.height - at[1]).mark >= 0;
            ++picks;
        }
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (hits < picks) std::fprintf(stderr, "pick: %ld of %ld clicks found a mark\n", hits, picks);
    return picks ? took.count() / picks : 0;
}

// Frames per second of an MP4 export (H.264, veryfast) of the whole capture at 800 x 600.
double export_frames_per_second() {
    gchar* folder = g_dir_make_tmp("zemo-bench-XXXXXX", nullptr);
    if (!folder) return -1;
    VideoExport request;
    request.output = std::string(folder) + "/bench.mp4";
    request.last = app.num_frames - 1;
    request.rate = app.capture_rate > 0 ? app.capture_rate : 100;
    video_size_of_view(request.width, request.height);
    const auto start = std::chrono::steady_clock::now();
    const std::string outcome = export_video(request, nullptr);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::remove(request.output.c_str());
    g_rmdir(folder);
    g_free(folder);
    if (!outcome.empty()) {
        std::fprintf(stderr, "zemo-bench view: export_video: %s\n", outcome.c_str());
        return -1;
    }
    std::fprintf(stderr, "export_video: %d frames at %d x %d\n", app.num_frames, request.width, request.height);
    return app.num_frames / took.count();
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
    set_immediate_shapes(true);
    play(app.num_frames);
    set_immediate_shapes(false);
    const long long before = resident_bytes();
    compare_playback("playback", FRAMES_PLAYED, FRAMES_PLAYED / 4);
    set_widget_value("spin_ver_rastro", 50);
    compare_playback("playback_trail", FRAMES_PLAYED, FRAMES_PLAYED / 4);
    report("playback_rss_growth", (resident_bytes() - before) / 1e6, "MB");
    set_widget_value("hscale_frame", app.num_frames - 1);
    report("picture_difference", picture_difference("playback"), "%");
    set_widget_value("spin_ver_rastro", 0);
    report("pick", pick_milliseconds(), "ms");
    // The export draws the view as opened: marks and bones, without the chosen marks' extras.
    for (const char* extra : {"check_ver_trazas", "checkbutton_velocity", "checkbutton_acceleration"}) {
        set_widget_active(extra, false);
    }
    const double exported = export_frames_per_second();
    if (exported < 0) return 1;
    report("export_video", exported, "fps");
    bench_long_trajectories();
    return 0;
}
