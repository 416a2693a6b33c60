// The C3D reader. The header block gives the fallbacks, the parameter section the counts, the
// scale, the rate and the labels; every count is checked against the bytes the file really
// holds before anything is allocated from it. A point is lost at a frame when its residual word
// is negative, when x, y and z are all exactly 0, or when a coordinate is not finite.
#include "formats/c3d_reader.h"

#include <cmath>
#include <set>
#include <vector>

#include "formats/c3d_numbers.h"
#include "formats/c3d_parameters.h"
#include "formats/capture_build.h"

namespace {

constexpr size_t BLOCK = 512;

// The groups of points a modelling program adds (joint angles, forces ...): not marks.
const char* const MODEL_OUTPUTS[] = {"ANGLES", "FORCES", "MOMENTS", "POWERS", "SCALARS", "REACTIONS"};

std::string refused(const std::string& name, const std::string& what) {
    return "Error opening file:\n " + name + "\n " + what;
}

// The header's words, in the processor's encoding.
struct HeaderBlock {
    int points, analog_values, first_frame, last_frame, data_start, analog_per_point_frame;
    double scale, rate;
};

HeaderBlock read_header(const unsigned char* data, C3dProcessor processor) {
    HeaderBlock h;
    h.points = c3d_uint16(data + 2, processor);
    h.analog_values = c3d_uint16(data + 4, processor);
    h.first_frame = c3d_uint16(data + 6, processor);
    h.last_frame = c3d_uint16(data + 8, processor);
    h.scale = c3d_float(data + 12, processor);
    h.data_start = c3d_uint16(data + 16, processor);
    h.analog_per_point_frame = c3d_uint16(data + 18, processor);
    h.rate = c3d_float(data + 20, processor);
    return h;
}

// A frame count kept in two 16-bit words (low, high), as TRIAL:ACTUAL_*_FIELD do.
bool long_field(const C3dParameters& parameters, const char* name, long long& value) {
    const C3dParameter* p = parameters.find("TRIAL", name);
    if (!p || p->type != 2 || p->count < 2) return false;
    value = c3d_uint16(p->data, parameters.processor) + 65536LL * c3d_uint16(p->data + 2, parameters.processor);
    return true;
}

long long frame_count(const C3dParameters& parameters, const HeaderBlock& header) {
    long long start, end;
    if (long_field(parameters, "ACTUAL_START_FIELD", start) && long_field(parameters, "ACTUAL_END_FIELD", end) &&
        end >= start) {
        return end - start + 1;
    }
    double frames;
    if (parameters.number("POINT", "FRAMES", frames) && std::isfinite(frames) && frames >= 1 && frames < 1e12)
        return std::llround(frames);
    return header.last_frame >= header.first_frame ? header.last_frame - header.first_frame + 1 : 0;
}

std::vector<std::string> point_labels(const C3dParameters& parameters, size_t points) {
    std::vector<std::string> labels = parameters.strings("POINT", "LABELS");
    // Past 255 points the labels go on in LABELS2, LABELS3 ...
    for (int n = 2; labels.size() < points; ++n) {
        const std::vector<std::string> more = parameters.strings("POINT", "LABELS" + std::to_string(n));
        if (more.empty()) break;
        labels.insert(labels.end(), more.begin(), more.end());
    }
    labels.resize(points);
    return labels;
}

// A count or block number from the parameters (a 16-bit word read unsigned, or a float in some
// files), or `fallback` when the file has no such parameter; -1 when the value is no count at all.
long long count_or(const C3dParameters& parameters, const char* group, const char* name, long long fallback) {
    double value;
    if (!parameters.number(group, name, value)) return fallback;
    return std::isfinite(value) && value >= 0 && value < 1e12 ? static_cast<long long>(value) : -1;
}

inline bool lost_residual(double residual) { return residual < 0 || (residual >= 32768 && residual <= 65535); }

// Decodes the kept points of every frame. Integer storage scales by |POINT:SCALE|.
template <C3dProcessor P, bool FLOATS>
void read_points(const unsigned char* data, size_t frame_bytes, int frames, const std::vector<int>& kept,
                 double scale, std::vector<Sample*>& out) {
    constexpr size_t WORD = FLOATS ? 4 : 2;
    const auto value = [](const unsigned char* p) -> double {
        if constexpr (FLOATS) return c3d_float(p, P);
        else return c3d_int16(p, P);
    };
    for (int f = 0; f < frames; ++f) {
        const unsigned char* frame = data + f * frame_bytes;
        for (size_t k = 0; k < kept.size(); ++k) {
            const unsigned char* p = frame + static_cast<size_t>(kept[k]) * 4 * WORD;
            double x = value(p), y = value(p + WORD), z = value(p + 2 * WORD);
            const double residual = value(p + 3 * WORD);
            if constexpr (!FLOATS) x *= scale, y *= scale, z *= scale;
            const bool lost = (FLOATS ? lost_residual(residual) : residual < 0) || (x == 0 && y == 0 && z == 0) ||
                              !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z);
            out[k][f] = lost ? Sample{LOST_VALUE, LOST_VALUE, LOST_VALUE} : Sample{x, y, z};
        }
    }
}

template <C3dProcessor P>
void read_points(bool floats, const unsigned char* data, size_t frame_bytes, int frames, const std::vector<int>& kept,
                 double scale, std::vector<Sample*>& out) {
    if (floats) read_points<P, true>(data, frame_bytes, frames, kept, scale, out);
    else read_points<P, false>(data, frame_bytes, frames, kept, scale, out);
}

}  // namespace

int c3d_parse(std::string_view bytes, const std::string& name, CaptureData& out, IdfError& error) {
    error = {};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto fail = [&](const std::string& what) {
        error.text = refused(name, what);
        return 1;
    };
    if (bytes.size() < BLOCK) {
        return fail("The file holds " + std::to_string(bytes.size()) +
                    " bytes, less than the 512-byte header block of a C3D file.");
    }
    if (data[1] != 0x50) return fail("This is not a C3D file: its second byte is not 0x50.");
    const size_t parameter_block = data[0];
    if (parameter_block < 2 || (parameter_block - 1) * BLOCK + 4 > bytes.size()) {
        return fail("The parameter section (block " + std::to_string(parameter_block) + ") lies outside the file.");
    }
    C3dParameters parameters;
    const std::string problem = c3d_parse_parameters(bytes, (parameter_block - 1) * BLOCK, parameters);
    if (!problem.empty()) return fail("In the parameter section, " + problem);
    const C3dProcessor processor = parameters.processor;
    const HeaderBlock header = read_header(data, processor);

    double value;
    const long long points = count_or(parameters, "POINT", "USED", header.points);
    const double scale = parameters.number("POINT", "SCALE", value) ? value : header.scale;
    const double rate = parameters.number("POINT", "RATE", value) ? value : header.rate;
    const long long data_start = count_or(parameters, "POINT", "DATA_START", header.data_start);
    long long analog_values = header.analog_values;
    if (header.analog_per_point_frame > 0) {
        const long long channels = count_or(parameters, "ANALOG", "USED", -2);
        if (channels != -2) analog_values = channels < 0 ? -1 : channels * header.analog_per_point_frame;
    }
    const long long frames = frame_count(parameters, header);

    if (!std::isfinite(scale)) return fail("POINT:SCALE is not a number.");
    if (!std::isfinite(rate) || rate < 0 || rate > 1e9)
        return fail("The frame rate is not a usable number of frames per second.");
    if (points < 0) return fail("POINT:USED is not a number of points.");
    if (points == 0) return fail("The file holds no points.");
    if (analog_values < 0) return fail("ANALOG:USED is not a number of channels.");
    if (frames < 1) return fail("The file holds no frames.");

    const bool floats = scale < 0;
    const size_t word = floats ? 4 : 2;
    const size_t frame_bytes = (static_cast<size_t>(points) * 4 + static_cast<size_t>(analog_values)) * word;
    if (data_start < 2 || static_cast<size_t>(data_start - 1) * BLOCK > bytes.size()) {
        return fail("The data section (block " + std::to_string(data_start) + ") lies outside the file.");
    }
    const size_t data_offset = static_cast<size_t>(data_start - 1) * BLOCK;
    const size_t available = bytes.size() - data_offset;
    if (static_cast<unsigned long long>(frames) > available / frame_bytes) {
        return fail("The file is truncated: " + std::to_string(frames) + " frames of " + std::to_string(points) +
                    " points need " + std::to_string(static_cast<unsigned long long>(frames) * frame_bytes) +
                    " bytes from block " + std::to_string(data_start) + ", but it holds " +
                    std::to_string(available) + ".");
    }
    if (frames > 2147483647LL) return fail("The file holds more frames than a layer can count.");

    // The labels tell marks from the model outputs; the outputs are read past, never kept.
    const std::vector<std::string> labels = point_labels(parameters, static_cast<size_t>(points));
    std::set<std::string> outputs;
    for (const char* group : MODEL_OUTPUTS) {
        for (const std::string& label : parameters.strings("POINT", group)) {
            if (!label.empty()) outputs.insert(label);
        }
    }
    std::vector<int> kept;
    std::vector<std::string> kept_labels;
    for (long long p = 0; p < points; ++p) {
        if (!labels[p].empty() && outputs.count(labels[p]) != 0) continue;
        kept.push_back(static_cast<int>(p));
        kept_labels.push_back(labels[p]);
    }
    if (kept.empty()) return fail("The file holds no marks: all its points are model outputs.");
    if (kept.size() > static_cast<size_t>(MAX_CHANNELS)) {
        return fail("The file holds " + std::to_string(kept.size()) + " marks; a layer holds at most " +
                    std::to_string(MAX_CHANNELS) + ".");
    }

    std::vector<std::shared_ptr<Sample[]>> samples(kept.size());
    std::vector<Sample*> targets(kept.size());
    for (size_t k = 0; k < kept.size(); ++k) {
        samples[k] = std::make_shared_for_overwrite<Sample[]>(static_cast<size_t>(frames));
        targets[k] = samples[k].get();
    }
    const unsigned char* first = data + data_offset;
    const int frame_total = static_cast<int>(frames);
    const double magnitude = std::fabs(scale);
    switch (processor) {
    case C3dProcessor::intel:
        read_points<C3dProcessor::intel>(floats, first, frame_bytes, frame_total, kept, magnitude, targets);
        break;
    case C3dProcessor::dec:
        read_points<C3dProcessor::dec>(floats, first, frame_bytes, frame_total, kept, magnitude, targets);
        break;
    case C3dProcessor::mips:
        read_points<C3dProcessor::mips>(floats, first, frame_bytes, frame_total, kept, magnitude, targets);
        break;
    }
    capture_build(rate, frame_total, kept_labels, samples, CaptureFormat::c3d, out);
    return 0;
}
