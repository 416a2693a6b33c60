// IDF reading and writing on a generated capture of 120 marks x 20 000 frames: throughput,
// on two threads and on one, speed-up over the plain reader, and the memory the samples take.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "baseline_idf_reader.h"
#include "bench_support.h"
#include "engine/formats/capture_io.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/model/capture_model.h"

namespace {

constexpr int MARKS = 120;
constexpr int FRAMES = 20000;

// A smooth trajectory per mark with a lost stretch now and then, as real data has.
std::string generate_capture(const std::string& dir) {
    const std::string path = dir + "/bench.idf";
    FILE* out = std::fopen(path.c_str(), "w");
    std::fprintf(out, "INFORMATION_SECTION\nCAPTURE_RATE: 100\nNUM_CHANNELS: %d\nNUM_DATA: %d\nCHANNEL_NAMES\n",
                 3 * MARKS, FRAMES);
    for (int c = 0; c < 3 * MARKS; ++c) std::fprintf(out, "M%03d_%c_ %d\n", c / 3, "xyz"[c % 3], c);
    std::fprintf(out, "DATA_SECTION\n");
    char value[IDF_VALUE_CAPACITY + 1];
    for (int f = 0; f < FRAMES; ++f) {
        for (int c = 0; c < 3 * MARKS; ++c) {
            const int m = c / 3;
            const bool lost = (f + 37 * m) % 997 < 5;
            const double v = lost ? LOST_VALUE : 1000.0 * std::sin(0.01 * f + m + c % 3) + 10.0 * m;
            value[idf_format_value(v, value)] = '\0';
            std::fprintf(out, "%d \t%d \t%s\n", c, f, value);
        }
    }
    std::fclose(out);
    return path;
}

double file_megabytes(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return static_cast<double>(info.st_size) / 1e6;
}

}  // namespace

void bench_idf() {
    const std::string dir = bench_temp_dir();
    const std::string path = generate_capture(dir);
    const double megabytes = file_megabytes(path);

    // Memory first, on a fresh heap: what the read adds, against 24 bytes per sample.
    app_reset();
    const long long before = resident_bytes();
    if (idf_read(path) != 0) {
        std::fprintf(stderr, "zemo-bench: the generated capture did not read\n");
        return;
    }
    const long long added = resident_bytes() - before;
    const double sample_bytes = 24.0 * MARKS * FRAMES;

    // On two threads, then on one, as ZEMO_THREADS asks.
    const auto read_on = [&](const char* threads) {
        setenv("ZEMO_THREADS", threads, 1);
        const double seconds = best_seconds(5, [&] {
            app_reset();
            idf_read(path);
        });
        unsetenv("ZEMO_THREADS");
        return seconds;
    };
    const double read_seconds = read_on("2");
    const double one_thread_seconds = read_on("1");
    const double write_seconds = best_seconds(3, [&] { (void)capture_write(app, dir + "/written.idf"); });
    const double baseline_seconds = best_seconds(1, [&] { baseline_idf_read(path); });

    report("idf_read", megabytes / read_seconds, "MB/s");
    report("idf_read_1thread", megabytes / one_thread_seconds, "MB/s");
    report("idf_read_threads_speedup", one_thread_seconds / read_seconds, "x");
    report("idf_read_baseline", megabytes / baseline_seconds, "MB/s");
    report("idf_read_speedup", baseline_seconds / read_seconds, "x");
    report("idf_write", file_megabytes(dir + "/written.idf") / write_seconds, "MB/s");
    report("idf_memory_ratio", added / sample_bytes, "x");
    app_reset();
}
