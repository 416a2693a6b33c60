// Opening a gait lab's C3D with its analog data: 120 marks x 20 000 frames at 100 Hz and four
// type-2 force plates (24 channels) sampled at 1 kHz, floating point. The open is timed whole,
// and the decoding of the analog channels, plates and events on its own: the open without that
// decoding is what opening the file cost before.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/c3d/c3d_trial.h"
#include "engine/formats/c3d/c3d_trial_read.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"

namespace {

constexpr int MARKS = 120;
constexpr int FRAMES = 20000;
constexpr int PLATES = 4;
constexpr int CHANNELS = 6 * PLATES;
constexpr int PER_FRAME = 10;

void word(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>(value >> 8 & 0xff));
}

void real(std::string& out, float value) {
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

// A parameter record of group `group`: its bytes after the name come from `values`.
void record(std::string& out, int group, const std::string& name, int type, const std::vector<int>& dims,
            const std::string& values) {
    out.push_back(static_cast<char>(name.size()));
    out.push_back(static_cast<char>(group));
    out += name;
    word(out, static_cast<int>(2 + 2 + dims.size() + values.size() + 1));
    out.push_back(static_cast<char>(type));
    out.push_back(static_cast<char>(dims.size()));
    for (int d : dims) out.push_back(static_cast<char>(d));
    out += values;
    out.push_back('\0');
}

void group(std::string& out, int id, const std::string& name) {
    out.push_back(static_cast<char>(name.size()));
    out.push_back(static_cast<char>(-id));
    out += name;
    word(out, 3);
    out.push_back('\0');
}

std::string numbers(const std::vector<float>& list) {
    std::string out;
    for (float v : list) real(out, v);
    return out;
}

std::string words(const std::vector<int>& list) {
    std::string out;
    for (int v : list) word(out, v);
    return out;
}

std::string gait_lab_file() {
    std::string section("\x01P\0T", 4);  // the blocks (third byte) are set below; Intel
    group(section, 1, "POINT");
    record(section, 1, "USED", 2, {}, words({MARKS}));
    record(section, 1, "SCALE", 4, {}, numbers({-0.1f}));
    record(section, 1, "RATE", 4, {}, numbers({100}));
    record(section, 1, "FRAMES", 2, {}, words({FRAMES}));
    std::string labels;
    for (int m = 0; m < MARKS; ++m) {
        char name[5];
        std::snprintf(name, sizeof name, "M%03d", m);
        labels += name;
    }
    record(section, 1, "LABELS", -1, {4, MARKS}, labels);
    const size_t data_start_at = section.size() + 2 + 10 + 2 + 2;
    record(section, 1, "DATA_START", 2, {}, words({0}));
    group(section, 2, "ANALOG");
    record(section, 2, "USED", 2, {}, words({CHANNELS}));
    record(section, 2, "RATE", 4, {}, numbers({1000}));
    record(section, 2, "GEN_SCALE", 4, {}, numbers({1}));
    record(section, 2, "SCALE", 4, {CHANNELS}, numbers(std::vector<float>(CHANNELS, 1)));
    record(section, 2, "OFFSET", 2, {CHANNELS}, words(std::vector<int>(CHANNELS, 0)));
    std::string analog_labels, units;
    for (int c = 0; c < CHANNELS; ++c) {
        char name[9];
        std::snprintf(name, sizeof name, "%c%c%d     ", c % 6 < 3 ? 'F' : 'M', "xyz"[c % 3], c / 6 + 1);
        analog_labels.append(name, 8);
        units += c % 6 < 3 ? "N  " : "Nmm";
    }
    record(section, 2, "LABELS", -1, {8, CHANNELS}, analog_labels);
    record(section, 2, "UNITS", -1, {3, CHANNELS}, units);
    group(section, 3, "FORCE_PLATFORM");
    record(section, 3, "USED", 2, {}, words({PLATES}));
    record(section, 3, "TYPE", 2, {PLATES}, words(std::vector<int>(PLATES, 2)));
    record(section, 3, "ZERO", 2, {2}, words({1, 10}));
    std::vector<float> corners, origins;
    std::vector<int> channels;
    for (int p = 0; p < PLATES; ++p) {
        const float x = 600.0f * p;
        for (float c : {x + 600, 0.f, 0.f, x, 0.f, 0.f, x, 400.f, 0.f, x + 600, 400.f, 0.f}) corners.push_back(c);
        for (float o : {0.f, 0.f, -40.f}) origins.push_back(o);
        for (int k = 1; k <= 6; ++k) channels.push_back(6 * p + k);
    }
    record(section, 3, "CORNERS", 4, {3, 4, PLATES}, numbers(corners));
    record(section, 3, "ORIGIN", 4, {3, PLATES}, numbers(origins));
    record(section, 3, "CHANNEL", 2, {6, PLATES}, words(channels));
    word(section, 0);  // the chain ends: a record with a name of length 0
    const size_t blocks = (section.size() + 511) / 512;
    section.resize(blocks * 512, '\0');
    section[2] = static_cast<char>(blocks);
    const int data_start = static_cast<int>(2 + blocks);
    section[data_start_at] = static_cast<char>(data_start & 0xff);
    section[data_start_at + 1] = static_cast<char>(data_start >> 8);

    std::string head(512, '\0');
    head[0] = 2;
    head[1] = 0x50;
    std::string h;
    word(h, MARKS);
    word(h, CHANNELS * PER_FRAME);
    word(h, 1);
    word(h, FRAMES);
    word(h, 0);
    real(h, -0.1f);
    word(h, data_start);
    word(h, PER_FRAME);
    real(h, 100);
    head.replace(2, h.size(), h);

    std::string data;
    data.reserve(static_cast<size_t>(FRAMES) * (MARKS * 4 + CHANNELS * PER_FRAME) * 4);
    for (int f = 0; f < FRAMES; ++f) {
        for (int m = 0; m < MARKS; ++m) {
            for (int a = 0; a < 3; ++a) real(data, static_cast<float>(1000 * std::sin(0.01 * f + m + a)));
            real(data, 1);
        }
        for (int s = 0; s < PER_FRAME; ++s) {
            const double t = (f * PER_FRAME + s) * 0.001;
            for (int c = 0; c < CHANNELS; ++c) {
                const double load = std::max(0.0, std::sin(t + c / 6));
                real(data, static_cast<float>(c % 6 == 2 ? 800 * load : c % 6 < 3 ? 40 * load : 20000 * load));
            }
        }
    }
    data.resize((data.size() + 511) / 512 * 512, '\0');
    return head + section + data;
}

}  // namespace

void bench_c3d_analog() {
    const std::string path = bench_temp_dir() + "/bench_analog.c3d";
    {
        FILE* out = std::fopen(path.c_str(), "wb");
        const std::string bytes = gait_lab_file();
        const bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (out) std::fclose(out);
        app_reset();
        if (!ok || idf_read(path) != 0 || !app.trial || app.trial->forces.size() != PLATES) {
            std::fprintf(stderr, "zemo-bench: the generated gait lab capture did not write or read\n");
            return;
        }
    }
    const double open_seconds = best_seconds(3, [&] {
        app_reset();
        idf_read(path);
    });
    const double decode_seconds = best_seconds(3, [&] { c3d_trial_read(*app.c3d_source, app.analog_rate); });
    const double before = open_seconds - decode_seconds;
    report("c3d_read_analog", open_seconds * 1000, "ms");
    report("c3d_read_analog_without_decoding", before * 1000, "ms");
    report("c3d_read_analog_cost", open_seconds / before, "x");
    app_reset();
}
