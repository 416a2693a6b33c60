// Accuracy of the gap fills on real gap-free captures with gaps cut into them, and the time of
// the automatic fill on the generated 120 x 100 000 capture with the chunked repair beside it.
//   fill_rmse_CAPTURE_METHOD_L      3-D distance RMSE over the frames of the cut gaps, in mm
//   fill_auto_to_best_CAPTURE_L     the automatic fill's RMSE over the better of spline and rigid
//   fill_estimate_spearman_CAPTURE  rank correlation of the automatic fill's estimated error
//                                   and its true error, gap by gap (and among the gaps of one length)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
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

constexpr int GAP_LENGTHS[] = {2, 5, 10, 20, 40};
constexpr int RUNS = 6;        // seeded runs per gap length
constexpr int MARK_GROUPS = 5;  // every fifth mark has a gap at a time
constexpr int KEPT_EDGE = 2;   // frames at each end of the capture no gap touches
const char* const METHODS[] = {"repair", "spline", "rigid", "auto"};

// One gap cut and filled: its squared error summed over its frames, and the fill's estimate.
struct GapOutcome {
    double squares;
    int frames;
    double estimated;
};

// Fills the gaps cut into `marks` with `method` ("repair" is the chunked repair); returns the
// estimate of each mark's fill (NaN without one), by mark.
std::vector<double> fill_marks(const std::string& method, const std::vector<int>& marks) {
    std::vector<double> estimates(app.mark_count(), NAN);
    if (method == "repair") {
        for (int m : marks) repair_channel(app, 0, app.num_frames - 1, m);
        return estimates;
    }
    FillMethod chosen = FillMethod::automatic;
    parse_fill_method(method, chosen);
    for (const FilledGap& gap : fill_gaps(app, marks, {0, app.num_frames - 1, chosen, 0})) {
        estimates[gap.mark] = gap.estimated_error;
    }
    return estimates;
}

// Cuts a gap of `length` frames into every fifth mark at a time (six seeded runs), fills them
// with `method` and compares each with what was cut out. The same gaps for every method.
std::vector<GapOutcome> cut_and_fill(const std::string& method, int length) {
    std::vector<GapOutcome> outcomes;
    std::vector<std::vector<Sample>> original(app.mark_count());
    for (int m = 0; m < app.mark_count(); ++m) {
        original[m].assign(app.channels[m].samples.get(), app.channels[m].samples.get() + app.num_frames);
    }
    for (int run = 0; run < RUNS; ++run) {
        std::mt19937 random(1000 * length + run);
        std::uniform_int_distribution<int> start(KEPT_EDGE, app.num_frames - KEPT_EDGE - length);
        for (int group = 0; group < MARK_GROUPS; ++group) {
            std::vector<int> marks, firsts;
            for (int m = group; m < app.mark_count(); m += MARK_GROUPS) {
                marks.push_back(m);
                firsts.push_back(start(random));
                Sample* samples = app.channels[m].samples.get();
                for (int f = firsts.back(); f < firsts.back() + length; ++f) samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
            }
            const std::vector<double> estimates = fill_marks(method, marks);
            for (size_t i = 0; i < marks.size(); ++i) {
                const Sample* samples = app.channels[marks[i]].samples.get();
                GapOutcome outcome{0, length, estimates[marks[i]]};
                for (int f = firsts[i]; f < firsts[i] + length; ++f) {
                    const Sample& truth = original[marks[i]][f];
                    const double dx = samples[f].x - truth.x, dy = samples[f].y - truth.y, dz = samples[f].z - truth.z;
                    outcome.squares += dx * dx + dy * dy + dz * dz;
                }
                outcomes.push_back(outcome);
                std::copy(original[marks[i]].begin(), original[marks[i]].end(), app.channels[marks[i]].samples.get());
            }
        }
    }
    return outcomes;
}

double rmse(const std::vector<GapOutcome>& outcomes) {
    double squares = 0;
    long frames = 0;
    for (const GapOutcome& o : outcomes) {
        squares += o.squares;
        frames += o.frames;
    }
    return std::sqrt(squares / frames);
}

// Ranks from 1, ties sharing the mean of their ranks.
std::vector<double> ranks(const std::vector<double>& values) {
    std::vector<size_t> order(values.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] < values[b]; });
    std::vector<double> rank(values.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j + 1 < order.size() && values[order[j + 1]] == values[order[i]]) ++j;
        for (size_t k = i; k <= j; ++k) rank[order[k]] = (i + j) / 2.0 + 1;
        i = j + 1;
    }
    return rank;
}

// Spearman's rank correlation of the estimated and the true error of the gaps that have both.
double spearman(const std::vector<GapOutcome>& outcomes) {
    std::vector<double> estimated, actual;
    for (const GapOutcome& o : outcomes) {
        if (std::isnan(o.estimated)) continue;
        estimated.push_back(o.estimated);
        actual.push_back(std::sqrt(o.squares / o.frames));
    }
    if (estimated.size() < 2) return NAN;
    const std::vector<double> a = ranks(estimated), b = ranks(actual);
    const double n = a.size(), mean = (n + 1) / 2;
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - mean) * (b[i] - mean);
        aa += (a[i] - mean) * (a[i] - mean);
        bb += (b[i] - mean) * (b[i] - mean);
    }
    return ab / std::sqrt(aa * bb);
}

void capture_accuracy(const std::string& name) {
    app_reset();
    if (idf_read(std::string(ZEMO_SHARED_DATA) + "/" + name + ".idf") != 0 || app.error_count != 0) {
        std::fprintf(stderr, "zemo-bench: %s is missing or not gap-free\n", name.c_str());
        return;
    }
    std::vector<GapOutcome> estimated;  // of the automatic fill, every length
    for (int length : GAP_LENGTHS) {
        double best_other = INFINITY, automatic = 0;
        for (const char* method : METHODS) {
            const std::vector<GapOutcome> outcomes = cut_and_fill(method, length);
            const double error = rmse(outcomes);
            report("fill_rmse_" + name + "_" + method + "_" + std::to_string(length), error, "mm");
            if (std::string(method) == "auto") {
                automatic = error;
                estimated.insert(estimated.end(), outcomes.begin(), outcomes.end());
            } else if (std::string(method) != "repair") {
                best_other = std::min(best_other, error);
            }
        }
        report("fill_auto_to_best_" + name + "_" + std::to_string(length), automatic / best_other, "");
        report("fill_estimate_spearman_" + name + "_" + std::to_string(length),
               spearman({estimated.end() - RUNS * app.mark_count(), estimated.end()}), "");
    }
    report("fill_estimate_spearman_" + name, spearman(estimated), "");
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

void bench_fill_accuracy() {
    install_seams({});
    capture_accuracy("ezc3d_Qualisys");
    capture_accuracy("subject01_walk1");
    if (std::ifstream(std::string(ZEMO_SHARED_DATA) + "/Sample_Jump2.idf")) capture_accuracy("Sample_Jump2");
    app_reset();
}

void bench_fill_speed() {
    install_seams({});
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
