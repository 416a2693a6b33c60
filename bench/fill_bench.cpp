// Accuracy of the gap fills on real gap-free captures with gaps cut into them, and the time of
// the automatic fill on the generated 120 x 100 000 capture with the chunked repair beside it.
//   fill_rmse_CAPTURE_METHOD_L  3-D distance RMSE over the frames of the cut gaps, in mm
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/gap_fill.h"
#include "engine/processing/trajectory_edit.h"

#ifndef ZEMO_SHARED_DATA
#define ZEMO_SHARED_DATA "../shared/data"
#endif

namespace {

constexpr int GAPS_PER_MARK = 20;
constexpr int GAP_LENGTHS[] = {2, 5, 10, 20, 40};
constexpr int KEPT_EDGE = 2;  // frames at each end of the capture no gap touches

// Fills the one gap cut into `mark` with `method` ("repair" is the chunked repair).
void fill_one(const std::string& method, int mark) {
    if (method == "repair") {
        repair_channel(app, 0, app.num_frames - 1, mark);
        return;
    }
    FillMethod chosen = FillMethod::automatic;
    parse_fill_method(method, chosen);
    fill_gaps(app, {mark}, {0, app.num_frames - 1, chosen, 0});
}

// Cuts the gaps one at a time, fills each and compares with what was cut out.
double gap_rmse(const std::string& method, int length) {
    std::mt19937 random(1000 + length);
    double squares = 0.0;
    long frames = 0;
    for (int m = 0; m < app.mark_count(); ++m) {
        Sample* samples = app.channels[m].samples.get();
        const std::vector<Sample> original(samples, samples + app.num_frames);
        std::uniform_int_distribution<int> start(KEPT_EDGE, app.num_frames - KEPT_EDGE - length);
        for (int g = 0; g < GAPS_PER_MARK; ++g) {
            const int first = start(random);
            for (int f = first; f < first + length; ++f) samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
            fill_one(method, m);
            for (int f = first; f < first + length; ++f) {
                const double dx = samples[f].x - original[f].x, dy = samples[f].y - original[f].y,
                             dz = samples[f].z - original[f].z;
                squares += dx * dx + dy * dy + dz * dz;
                ++frames;
            }
            std::copy(original.begin(), original.end(), samples);
        }
    }
    return std::sqrt(squares / frames);
}

void capture_accuracy(const std::string& name) {
    app_reset();
    if (idf_read(std::string(ZEMO_SHARED_DATA) + "/" + name + ".idf") != 0 || app.error_count != 0) {
        std::fprintf(stderr, "zemo-bench: %s is missing or not gap-free\n", name.c_str());
        return;
    }
    for (const char* method : {"repair", "spline", "rigid", "auto"}) {
        for (int length : GAP_LENGTHS) {
            report("fill_rmse_" + name + "_" + method + "_" + std::to_string(length), gap_rmse(method, length), "mm");
        }
    }
}

// The generated capture's marks each move on their own, so few triples of them move rigidly with
// a mark and most long gaps fall back to the spline. This variant moves them in rigid bodies of
// four (turning and travelling), with the same gaps, so that the donor fill is timed as well.
void make_rigid_body_capture() {
    make_gapped_capture();
    static const double body[4][3] = {{0, 0, 0}, {120, 10, 0}, {20, 110, 15}, {60, 50, 90}};
    for (int m = 0; m < GAPPED_MARKS; ++m) {
        Sample* samples = app.channels[m].samples.get();
        const double* p = body[m % 4];
        const double phase = m / 4;
        for (int f = 0; f < GAPPED_FRAMES; ++f) {
            if (is_lost(samples[f].x)) continue;
            const double a = 0.002 * f + phase, b = 0.0013 * f - phase;
            const double x1 = std::cos(a) * p[0] - std::sin(a) * p[1], y1 = std::sin(a) * p[0] + std::cos(a) * p[1];
            const double y2 = std::cos(b) * y1 - std::sin(b) * p[2], z2 = std::sin(b) * y1 + std::cos(b) * p[2];
            samples[f] = {x1 + 1000 * std::sin(0.001 * f + phase), y2 + 300 * phase, z2 + 900};
        }
    }
}

double milliseconds_on_fresh_capture(const std::function<void()>& work, void (*make)() = make_gapped_capture) {
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        make();
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

void bench_fill() {
    install_seams({});
    capture_accuracy("ezc3d_Qualisys");
    capture_accuracy("subject01_walk1");
    std::vector<FilledGap> filled;
    const double fill_all = milliseconds_on_fresh_capture([&] {
        filled = fill_gaps(app, all_channels(app), {0, GAPPED_FRAMES - 1, FillMethod::automatic, 0});
    });
    const int remaining = count_lost_values(app);
    std::vector<FilledGap> filled_bodies;
    const double fill_bodies = milliseconds_on_fresh_capture(
        [&] { filled_bodies = fill_gaps(app, all_channels(app), {0, GAPPED_FRAMES - 1, FillMethod::automatic, 0}); },
        make_rigid_body_capture);
    const double repair_all = milliseconds_on_fresh_capture([] {
        for (int m = 0; m < GAPPED_MARKS; ++m) repair_channel(app, 0, GAPPED_FRAMES - 1, m);
    });
    report("fill_all", fill_all, "ms");
    report("fill_all_rigid_bodies", fill_bodies, "ms");
    report("fill_all_repair_baseline", repair_all, "ms");
    const auto from_marks = [](const std::vector<FilledGap>& gaps) {
        return std::count_if(gaps.begin(), gaps.end(), [](const FilledGap& gap) { return gap.method == FillMethod::rigid; });
    };
    std::fprintf(stderr, "fill_all: %zu gaps filled (%ld from other marks), %d lost coordinates left\n", filled.size(),
                 static_cast<long>(from_marks(filled)), remaining);
    std::fprintf(stderr, "fill_all_rigid_bodies: %zu gaps filled (%ld from other marks)\n", filled_bodies.size(),
                 static_cast<long>(from_marks(filled_bodies)));
    app_reset();
}
