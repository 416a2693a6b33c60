// Ten full-size layers in the real window: one capture of 120 marks x 100 000 frames opened ten
// times, every layer drawn, and 500 frames of playback; open time, resident memory and speed.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/model/capture_model.h"
#include "gui/gl/gl_view.h"
#include "gui/kit/app_windows.h"
#include "gui/kit/ui_helpers.h"
#include "gui/kit/widgets.h"
#include "gui/shell/startup.h"
#include "platform/paths.h"

namespace {

constexpr int LAYERS = 10;
constexpr int MARKS = 120;
constexpr int FRAMES = 100000;
constexpr int FRAMES_PLAYED = 500;
constexpr double SAMPLE_BYTES = double(LAYERS) * MARKS * FRAMES * sizeof(Sample);

long frames_shown = 0;

double process_cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

void count_frame(GtkRange*, gpointer) { ++frames_shown; }

// A walking-like trajectory in millimetres, one mark in fifty lost for a stretch.
double coordinate(int m, int f, int a) {
    if (m % 50 == 7 && f % 1000 < 20) return LOST_VALUE;
    const double t = f / 100.0;
    const double base[3] = {t * 1200.0 / 10.0, 150.0 * std::sin(m * 0.7), 100.0 + m * 12.0};
    const double swing[3] = {40.0 * std::sin(t * 6.28 + m), 25.0 * std::cos(t * 6.28 + m), 30.0 * std::sin(t * 12.56)};
    return base[a] + swing[a];
}

// Writes the capture through one large buffer; false when the disk refuses it.
bool write_capture(const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::string text = "INFORMATION_SECTION\nCAPTURE_RATE: 100\nNUM_CHANNELS: " + std::to_string(3 * MARKS) +
                       "\nNUM_DATA: " + std::to_string(FRAMES) + "\nCHANNEL_NAMES\n";
    static const char* axes[] = {"_x_", "_y_", "_z_"};
    for (int m = 0; m < MARKS; ++m) {
        for (int a = 0; a < 3; ++a) text += "M" + std::to_string(m) + axes[a] + " " + std::to_string(3 * m + a) + "\n";
    }
    text += "DATA_SECTION\n";
    std::vector<char> buffer(64 << 20);
    size_t used = 0;
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    char value[IDF_VALUE_CAPACITY];
    for (int f = 0; f < FRAMES && ok; ++f) {
        for (int c = 0; c < 3 * MARKS; ++c) {
            if (buffer.size() - used < IDF_VALUE_CAPACITY + 64) {
                ok = ok && std::fwrite(buffer.data(), 1, used, out) == used;
                used = 0;
            }
            used += std::snprintf(buffer.data() + used, 64, "%d \t%d \t", c, f);
            const int n = idf_format_value(coordinate(c / 3, f, c % 3), value);
            std::copy(value, value + n, buffer.data() + used);
            used += n;
            buffer[used++] = '\n';
        }
    }
    ok = ok && std::fwrite(buffer.data(), 1, used, out) == used;
    return std::fclose(out) == 0 && ok;
}

}  // namespace

int bench_layers() {
    if (!init_toolkit()) {
        std::fprintf(stderr, "zemo-bench layers: needs a display (run it under xvfb-run)\n");
        return 2;
    }
    // ZEMO_BENCH_CAPTURE keeps the capture between runs (written there when missing).
    const char* kept = std::getenv("ZEMO_BENCH_CAPTURE");
    const std::string path = kept ? kept : join_path(bench_temp_dir(), "ten_layers.idf");
    const auto written = std::chrono::steady_clock::now();
    if (!(kept && std::filesystem::exists(path)) && !write_capture(path)) {
        std::fprintf(stderr, "zemo-bench layers: cannot write %s\n", path.c_str());
        std::remove(path.c_str());
        return 1;
    }
    const std::chrono::duration<double> writing = std::chrono::steady_clock::now() - written;
    std::fprintf(stderr, "capture of %d marks x %d frames (%.0f MB) written in %.1f s\n", MARKS, FRAMES,
                 std::filesystem::file_size(path) / 1e6, writing.count());
    if (!enter_program_directory(nullptr)) return 2;
    create_interface();
    gtk_widget_hide(app_windows.splash_window);
    gtk_widget_set_size_request(main_widget("gtkglext_modelo3D"), 800, 600);
    gtk_widget_show(app_windows.main_window);
    process_pending_events();

    double slowest = 0, total = 0;
    for (int n = 1; n <= LAYERS; ++n) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = process_cpu_seconds();
        open_startup_capture(path.c_str());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const double cpu = process_cpu_seconds() - cpu_start;
        if (app.current_layer != n || app.num_frames != FRAMES || app.mark_count() != MARKS) {
            std::fprintf(stderr, "zemo-bench layers: layer %d did not open\n", n);
            std::remove(path.c_str());
            return 1;
        }
        // The processor time of every thread, beside the wall time, for machines shared with others.
        std::fprintf(stderr, "layer %d opened in %.0f ms (processor %.0f ms)\n", n, took.count() * 1000, cpu * 1000);
        slowest = std::max(slowest, took.count());
        total += took.count();
    }
    if (!kept) std::remove(path.c_str());
    int visible = 0;
    for (int n = 1; n <= LAYERS; ++n) visible += app.layers[n].visible && app.layers[n].in_use;
    std::fprintf(stderr, "%d layers visible, mean open %.0f ms\n", visible, total / LAYERS * 1000);
    report("ten_layers_open", slowest * 1000, "ms");  // the slowest of the ten
    const double rss = resident_bytes() / 1e6;
    report("ten_layers_rss", rss, "MB");
    std::fprintf(stderr, "rss limit %.0f MB (1.3 x %.0f MB of samples + 100 MB)\n",
                 (1.3 * SAMPLE_BYTES) / 1e6 + 100, SAMPLE_BYTES / 1e6);

    g_signal_connect(main_widget("hscale_frame"), "value-changed", G_CALLBACK(count_frame), nullptr);
    process_pending_events();
    frames_shown = 0;
    set_widget_active("boton_play", true);
    const auto start = std::chrono::steady_clock::now();
    while (frames_shown < FRAMES_PLAYED) g_main_context_iteration(nullptr, TRUE);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    set_widget_active("boton_play", false);
    process_pending_events();
    report("ten_layers_playback", FRAMES_PLAYED / took.count(), "fps");
    return 0;
}
