// The memory a C3D read takes at its peak, beside the memory of the layer it gives: a capture of
// 120 marks x 100 000 frames read in a fresh process, once as zemo reads it (mapped, the frames
// handed back as they are decoded) and once copied whole into memory first, as it used to be.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_support.h"
#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/formats/capture_io.h"
#include "engine/formats/idf/idf_header.h"
#include "engine/model/capture_model.h"

namespace {

constexpr int MARKS = 120;
constexpr int FRAMES = 100000;
constexpr double MIB = 1024.0 * 1024.0;

bool write_capture(const std::string& path) {
    CaptureData data;
    data.capture_rate = 100;
    data.set_columns(3 * MARKS);
    data.num_frames = FRAMES;
    std::vector<std::string> names;
    for (int m = 0; m < MARKS; ++m) {
        names.push_back("M" + std::to_string(m));
        data.channels[m].name = std::make_shared<const std::string>(names.back());
        data.channels[m].samples = std::make_shared_for_overwrite<Sample[]>(FRAMES);
        for (int f = 0; f < FRAMES; ++f) {
            const bool lost = (f + 37 * m) % 997 < 5;
            const double v = 1000.0 * std::sin(0.01 * f + m) + 10.0 * m;
            data.channels[m].samples[f] = lost ? Sample{LOST_VALUE, LOST_VALUE, LOST_VALUE} : Sample{v, v + 1, v + 2};
        }
    }
    data.header = std::make_shared<const std::string>(idf_header_text(100, FRAMES, names));
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool ok = c3d_write_stream(data, out);
    return std::fclose(out) == 0 && ok;
}

long long status_kib(const char* field) {
    long long value = -1;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const size_t length = std::strlen(field);
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, field, length) == 0) value = std::atoll(line + length);
        }
        std::fclose(status);
    }
    return value;
}

// The samples, residuals and origins of the layer: what it holds whatever the reading.
double layer_bytes(const CaptureData& data) {
    double bytes = 0;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Channel& channel = data.channels[m];
        bytes += data.num_frames * (sizeof(Sample) + (channel.residuals ? sizeof(float) : 0) +
                                    (channel.origins ? sizeof(SampleOrigin) : 0));
    }
    return bytes;
}

}  // namespace

// In the child: the peak over the resident memory at its start, then the layer's memory, in MiB.
int bench_c3d_peak(const std::string& path, const std::string& way) {
    // Writing 5 sets the peak back to what is resident now.
    if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", clear);
        std::fclose(clear);
    }
    const long long start = status_kib("VmRSS:");
    CaptureData data;
    ReadError error;
    int status = 1;
    if (way == "copied") {
        std::string bytes;
        if (FILE* in = std::fopen(path.c_str(), "rb")) {
            char chunk[1 << 16];
            for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.append(chunk, got);
            std::fclose(in);
        }
        status = c3d_parse(bytes, path, data, error);
    } else if (FILE* in = std::fopen(path.c_str(), "rb")) {
        status = capture_read_stream(in, path, data, error, nullptr);
        std::fclose(in);
    }
    if (status != 0) return 1;
    std::printf("%.1f %.1f\n", (status_kib("VmHWM:") - start) / 1024.0, layer_bytes(data) / MIB);
    return 0;
}

void bench_c3d_memory() {
    const std::string path = bench_temp_dir() + "/memory.c3d";
    if (!write_capture(path)) {
        std::fprintf(stderr, "zemo-bench: the C3D capture of the memory measure did not write\n");
        return;
    }
    const auto peak_of = [&](const char* way, double& layer) {
        const std::string command = "/proc/" + std::to_string(getpid()) + "/exe c3d-peak '" + path + "' " + way;
        double peak = -1;
        if (FILE* child = popen(command.c_str(), "r")) {
            if (std::fscanf(child, "%lf %lf", &peak, &layer) != 2) peak = -1;
            pclose(child);
        }
        return peak;
    };
    double layer = 0;
    const double copied = peak_of("copied", layer);
    const double mapped = peak_of("mapped", layer);
    std::remove(path.c_str());
    report("c3d_read_peak_rss", mapped, "MiB");
    report("c3d_read_peak_rss_copied_whole", copied, "MiB");
    report("c3d_read_peak_rss_limit", layer + 40, "MiB");  // the layer's samples, residuals and origins + 40
}
