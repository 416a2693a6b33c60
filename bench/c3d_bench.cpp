// C3D writing and reading on the capture of the IDF benchmark (120 marks x 20 000 frames, a
// lost stretch now and then): the throughput of each in MB of C3D file per second, and how much
// sooner the capture opens from C3D than from its IDF text, measured in the same run; and the
// reading of a full-body capture of 300 marks.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "bench_support.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/formats/capture_io.h"
#include "engine/formats/idf/idf_header.h"
#include "engine/formats/idf/idf_writer.h"
#include "engine/model/capture_model.h"

namespace {

constexpr int MARKS = 120;
constexpr int MANY_MARKS = 300;
constexpr int FRAMES = 20000;

CaptureData generate_capture(int marks) {
    CaptureData data;
    data.capture_rate = 100;
    data.set_columns(3 * marks);
    data.num_frames = FRAMES;
    std::vector<std::string> names;
    for (int m = 0; m < marks; ++m) {
        char name[8];
        std::snprintf(name, sizeof name, "M%03d", m);
        names.push_back(name);
        data.channels[m].name = std::make_shared<const std::string>(name);
        data.channels[m].samples = std::make_shared<Sample[]>(FRAMES);
        for (int f = 0; f < FRAMES; ++f) {
            double v[3];
            for (int a = 0; a < 3; ++a) v[a] = 1000.0 * std::sin(0.01 * f + m + a) + 10.0 * m;
            const bool lost = (f + 37 * m) % 997 < 5;
            data.channels[m].samples[f] = lost ? Sample{LOST_VALUE, LOST_VALUE, LOST_VALUE} : Sample{v[0], v[1], v[2]};
        }
    }
    data.header = std::make_shared<const std::string>(idf_header_text(100, FRAMES, names));
    return data;
}

double file_megabytes(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return static_cast<double>(info.st_size) / 1e6;
}

bool write_with(const std::string& path, bool (*write)(const CaptureData&, FILE*), const CaptureData& data) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool ok = write(data, out);
    return std::fclose(out) == 0 && ok;
}

}  // namespace

void bench_c3d() {
    const std::string dir = bench_temp_dir();
    const std::string c3d = dir + "/bench.c3d";
    const std::string idf = dir + "/bench_c3d.idf";
    const CaptureData capture = generate_capture(MARKS);
    bool ok = true;
    const double write_seconds = best_seconds(3, [&] { ok = ok && write_with(c3d, c3d_write_stream, capture); });
    ok = ok && write_with(idf, idf_write_stream, capture);
    app_reset();
    if (!ok || idf_read(c3d) != 0) {
        std::fprintf(stderr, "zemo-bench: the generated C3D capture did not write or read\n");
        return;
    }
    const double read_seconds = best_seconds(3, [&] {
        app_reset();
        idf_read(c3d);
    });
    const double idf_seconds = best_seconds(1, [&] {
        app_reset();
        idf_read(idf);
    });
    const double megabytes = file_megabytes(c3d);
    report("c3d_read", megabytes / read_seconds, "MB/s");
    report("c3d_write", megabytes / write_seconds, "MB/s");
    report("c3d_read_speedup", idf_seconds / read_seconds, "x");

    const std::string many = dir + "/bench_300.c3d";
    if (!write_with(many, c3d_write_stream, generate_capture(MANY_MARKS))) return;
    const double many_seconds = best_seconds(3, [&] {
        app_reset();
        idf_read(many);
    });
    report("c3d_read_300", file_megabytes(many) / many_seconds, "MB/s");
    app_reset();
}
