// The zero-lag Butterworth over every mark of the processing benchmarks' capture (120 marks x
// 100 000 frames with gaps), and the same filtering with scipy's filtfilt measured in the same
// run when /usr/bin/python3 has scipy.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/butterworth_filter.h"
#include "platform/launch.h"

namespace {

constexpr double CUTOFF = 6;
constexpr int ORDER = 4;
const char* const PYTHON = "/usr/bin/python3";

// The capture as scipy reads it: float64, mark by mark and axis by axis, NaN where lost.
bool write_for_scipy(const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::vector<double> axis(GAPPED_FRAMES);
    bool ok = true;
    for (int m = 0; m < GAPPED_MARKS && ok; ++m) {
        for (int a = 0; a < 3 && ok; ++a) {
            for (int f = 0; f < GAPPED_FRAMES; ++f) {
                const Sample& s = app.channels[m].samples[f];
                const double v = a == 0 ? s.x : a == 1 ? s.y : s.z;
                axis[f] = is_lost(v) ? NAN : v;
            }
            ok = std::fwrite(axis.data(), sizeof(double), axis.size(), out) == axis.size();
        }
    }
    return std::fclose(out) == 0 && ok;
}

// scipy's best time in milliseconds, or a negative number when it could not be measured.
double scipy_milliseconds() {
    if (run_and_wait({PYTHON, "-c", "import scipy.signal"}) != 0) {
        std::fprintf(stderr, "filter_vs_scipy not measured: %s has no scipy (python3-scipy)\n", PYTHON);
        return -1;
    }
    const std::string data = bench_temp_dir() + "/filter.f64", result = bench_temp_dir() + "/filter.txt";
    if (!write_for_scipy(data)) return -1;
    char settings[5][32];
    std::snprintf(settings[0], sizeof settings[0], "%g", CUTOFF);
    std::snprintf(settings[1], sizeof settings[1], "%g", app.capture_rate);
    std::snprintf(settings[2], sizeof settings[2], "%d", ORDER);
    std::snprintf(settings[3], sizeof settings[3], "%d", GAPPED_MARKS);
    std::snprintf(settings[4], sizeof settings[4], "%d", GAPPED_FRAMES);
    if (run_and_wait({PYTHON, ZEMO_BENCH_DIR "/filter_vs_scipy.py", data, result, settings[0], settings[1],
                      settings[2], settings[3], settings[4]}) != 0) {
        return -1;
    }
    double ms = -1;
    if (FILE* in = std::fopen(result.c_str(), "r")) {
        if (std::fscanf(in, "%lf", &ms) != 1) ms = -1;
        std::fclose(in);
    }
    return ms;
}

}  // namespace

void bench_filter() {
    install_seams({});
    make_gapped_capture();
    const double scipy = scipy_milliseconds();
    std::vector<int> marks;
    for (int m = 0; m < GAPPED_MARKS; ++m) marks.push_back(m);
    FilterOutcome outcome;
    // Each run filters the result of the one before, which costs the same.
    const double ours = best_seconds(3, [&] { outcome = butterworth_filter(app, marks, {0, GAPPED_FRAMES - 1, CUTOFF, ORDER}); }) * 1000;
    report("filter_all", ours, "ms");
    if (scipy > 0) report("filter_vs_scipy", scipy / ours, "x");
    std::fprintf(stderr, "filter: %d marks, %d stretches too short; scipy filtfilt %.0f ms\n", outcome.channels_filtered,
                 outcome.short_stretches, scipy);
    app_reset();
}
