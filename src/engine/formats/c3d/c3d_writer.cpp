// The C3D writer. A layer read from a C3D file is written back as that file; any other is
// written as a new file: the parameter section is built in memory first so that DATA_START is
// known, and the frames are encoded into a large buffer written in big blocks.
#include "engine/formats/c3d/c3d_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "engine/formats/c3d/c3d_residual.h"
#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/c3d/c3d_write_back.h"

namespace {

// Floats are copied as they lie in memory, which is the Intel encoding only on such a machine.
static_assert(std::endian::native == std::endian::little, "the C3D writer needs a little-endian machine");

constexpr size_t BLOCK = 512;
constexpr size_t LONGEST_LABEL = 255;  // a dimension of a parameter is one byte
constexpr size_t MOST_LABELS = 255;
constexpr size_t FLUSH_BYTES = 1 << 20;

void put16(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>(value >> 8 & 0xff));
}

void put_float(std::string& out, float value) {
    char bytes[4];
    std::memcpy(bytes, &value, 4);  // Intel: little-endian IEEE, as this machine
    out.append(bytes, 4);
}

void put_name(std::string& out, int id, const std::string& name) {
    out.push_back(static_cast<char>(name.size()));
    out.push_back(static_cast<char>(id));
    out += name;
}

// One group record, with an empty description.
void group(std::string& out, int id, const std::string& name) {
    put_name(out, -id, name);
    put16(out, 3);
    out.push_back(0);
}

// One parameter record: `values` holds the encoded elements. The last record of the section
// says so with a link of 0.
void parameter(std::string& out, int group_id, const std::string& name, int type,
               const std::vector<int>& dimensions, const std::string& values, bool last = false) {
    put_name(out, group_id, name);
    put16(out, last ? 0 : static_cast<int>(2 + 1 + 1 + dimensions.size() + values.size() + 1));
    out.push_back(static_cast<char>(type));
    out.push_back(static_cast<char>(dimensions.size()));
    for (int d : dimensions) out.push_back(static_cast<char>(d));
    out += values;
    out.push_back(0);
}

std::string int16s(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) put16(out, v);
    return out;
}

std::string one_float(float value) {
    std::string out;
    put_float(out, value);
    return out;
}

std::string parameter_section(const CaptureData& data, int data_start_block, int parameter_blocks) {
    const int marks = data.mark_count();
    const int frames = data.num_frames;
    size_t longest = 1;
    for (int m = 0; m < marks; ++m) {
        longest = std::max(longest, std::min(data.channels[m].name_text().size(), LONGEST_LABEL));
    }
    // A dimension holds at most 255 labels: the others go on in LABELS2, LABELS3 ...
    std::vector<std::string> labels((static_cast<size_t>(marks) + MOST_LABELS - 1) / MOST_LABELS);
    for (int m = 0; m < marks; ++m) {
        std::string label = data.channels[m].name_text().substr(0, LONGEST_LABEL);
        label.resize(longest, ' ');
        labels[static_cast<size_t>(m) / MOST_LABELS] += label;
    }
    // Past 65535 frames the header and POINT:FRAMES cannot hold the count; TRIAL keeps it in two words.
    const int short_frames = std::min(frames, 65535);

    std::string out;
    out.push_back(1);
    out.push_back(0x50);
    out.push_back(static_cast<char>(parameter_blocks));
    out.push_back(84);
    group(out, 1, "POINT");
    parameter(out, 1, "USED", 2, {}, int16s({marks}));
    parameter(out, 1, "SCALE", 4, {}, one_float(-1.0f));
    parameter(out, 1, "RATE", 4, {}, one_float(static_cast<float>(data.capture_rate)));
    parameter(out, 1, "DATA_START", 2, {}, int16s({data_start_block}));
    parameter(out, 1, "FRAMES", 2, {}, int16s({short_frames}));
    for (size_t n = 0; n < labels.size(); ++n) {
        parameter(out, 1, n == 0 ? "LABELS" : "LABELS" + std::to_string(n + 1), -1,
                  {static_cast<int>(longest), static_cast<int>(labels[n].size() / longest)}, labels[n]);
    }
    group(out, 2, "ANALOG");
    parameter(out, 2, "USED", 2, {}, int16s({0}));
    group(out, 3, "TRIAL");
    parameter(out, 3, "ACTUAL_START_FIELD", 2, {2}, int16s({1, 0}));
    parameter(out, 3, "ACTUAL_END_FIELD", 2, {2}, int16s({frames & 0xffff, frames >> 16 & 0xffff}), true);
    return out;
}

std::string header_block(const CaptureData& data, int data_start_block) {
    std::string out;
    out.push_back(2);  // the parameter section starts at block 2
    out.push_back(0x50);
    put16(out, data.mark_count());
    put16(out, 0);                                 // analog values per frame
    put16(out, 1);                                 // first frame
    put16(out, std::min(data.num_frames, 65535));  // last frame
    put16(out, 0);                                 // largest gap to interpolate
    put_float(out, -1.0f);
    put16(out, data_start_block);
    put16(out, 0);  // analog samples per frame
    put_float(out, static_cast<float>(data.capture_rate));
    out.resize(BLOCK, '\0');
    return out;
}

void pad_to_block(std::string& bytes) { bytes.resize((bytes.size() + BLOCK - 1) / BLOCK * BLOCK, '\0'); }

}  // namespace

bool c3d_write_stream(const CaptureData& data, FILE* out) {
    if (data.c3d_source && c3d_source_fits(data, *data.c3d_source)) return c3d_write_back(data, *data.c3d_source, out);
    // The section's size does not depend on the block numbers written into it.
    const size_t section_bytes = parameter_section(data, 0, 0).size();
    const int parameter_blocks = static_cast<int>((section_bytes + BLOCK - 1) / BLOCK);
    const int data_start = 2 + parameter_blocks;
    std::string head = header_block(data, data_start);
    std::string section = parameter_section(data, data_start, parameter_blocks);
    pad_to_block(section);
    if (std::fwrite(head.data(), 1, head.size(), out) != head.size()) return false;
    if (std::fwrite(section.data(), 1, section.size(), out) != section.size()) return false;

    const int marks = data.mark_count();
    const size_t frame_floats = 4 * static_cast<size_t>(std::max(marks, 1));
    const size_t frames_per_write = std::max<size_t>(1, FLUSH_BYTES / (frame_floats * sizeof(float)));
    std::vector<float> buffer(frames_per_write * frame_floats);
    std::vector<const Sample*> channels(marks);
    for (int m = 0; m < marks; ++m) channels[m] = data.channels[m].samples.get();
    // Without origins or residuals every value is measured or lost.
    bool plain = true;
    for (int m = 0; m < marks; ++m) plain = plain && !data.channels[m].origins && !data.channels[m].residuals;
    size_t written = 0;
    for (int f = 0; f < data.num_frames;) {
        const int end = static_cast<int>(std::min<size_t>(data.num_frames, f + frames_per_write));
        float* p = buffer.data();
        for (; f < end; ++f) {
            for (int m = 0; m < marks; ++m) {
                const Sample& s = channels[m][f];
                const bool lost = is_lost(s.x) || is_lost(s.y) || is_lost(s.z);
                if (lost) {
                    p[0] = p[1] = p[2] = 0.0f;
                } else {
                    p[0] = static_cast<float>(s.x);
                    p[1] = static_cast<float>(s.y);
                    p[2] = static_cast<float>(s.z);
                }
                p[3] = plain ? (lost ? -1.0f : C3D_MEASURED_RESIDUAL) : c3d_residual_to_write(data.channels[m], f, lost);
                p += 4;
            }
        }
        const size_t count = static_cast<size_t>(p - buffer.data());
        if (std::fwrite(buffer.data(), sizeof(float), count, out) != count) return false;
        written += count * sizeof(float);
    }
    const size_t padding = (BLOCK - written % BLOCK) % BLOCK;
    const std::string zeros(padding, '\0');
    return std::fwrite(zeros.data(), 1, zeros.size(), out) == zeros.size();
}

long long partly_lost_samples(const CaptureData& data) {
    long long partly = 0;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* s = data.channels[m].samples.get();
        for (int f = 0; f < data.num_frames; ++f) {
            const int lost = is_lost(s[f].x) + is_lost(s[f].y) + is_lost(s[f].z);
            partly += lost == 1 || lost == 2;
        }
    }
    return partly;
}
