// The C3D reader. The header block gives the fallbacks, the parameter section the counts, the
// scale, the rate and the labels; every count is checked against the bytes the file really
// holds before anything is allocated from it. A point is lost at a frame when its residual word
// is negative, when x, y and z are all exactly 0, or when a coordinate is not finite. What is
// not a mark (model outputs, analog samples, the parameters) is kept with the layer.
#include "engine/formats/c3d/c3d_reader.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/formats/c3d/c3d_frames.h"
#include "engine/formats/c3d/c3d_numbers.h"
#include "engine/formats/c3d/c3d_parameters.h"
#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/c3d/c3d_trial_read.h"
#include "engine/formats/capture_build.h"

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

// A frame number kept in two 16-bit words (low, high), as TRIAL:ACTUAL_*_FIELD do.
bool long_field(const C3dParameters& parameters, const char* name, long long& value) {
    const C3dParameter* p = parameters.find("TRIAL", name);
    if (!p || p->type != 2 || p->count < 2) return false;
    value = c3d_uint16(p->data, parameters.processor) + 65536LL * c3d_uint16(p->data + 2, parameters.processor);
    return true;
}

struct FrameRange {
    long long first, count;
};

FrameRange header_frames(const HeaderBlock& header) {
    return {header.first_frame,
            header.last_frame >= header.first_frame ? header.last_frame - header.first_frame + 1 : 0};
}

FrameRange frame_range(const C3dParameters& parameters, const HeaderBlock& header) {
    long long start, end;
    if (long_field(parameters, "ACTUAL_START_FIELD", start) && long_field(parameters, "ACTUAL_END_FIELD", end) &&
        end >= start) {
        return {start, end - start + 1};
    }
    double frames;
    if (parameters.number("POINT", "FRAMES", frames) && std::isfinite(frames) && frames >= 1 && frames < 1e12)
        return {header.first_frame, std::llround(frames)};
    return header_frames(header);
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

// Oddities that do not stand in the way of reading, said so that the user knows.
void note_odd_parameters(const C3dParameters& parameters, long long analog_values,
                         std::vector<std::string>& warnings) {
    for (const C3dParameter& p : parameters.list) {
        for (int d : p.dimensions) {
            if (d != 0) continue;
            warnings.push_back(p.group + ":" + p.name + " has a dimension of 0; it was read as empty.");
            break;
        }
    }
    const C3dParameter* offset = parameters.find("ANALOG", "OFFSET");
    if (offset && offset->type == 4) {
        warnings.push_back("ANALOG:OFFSET is stored as floating-point numbers, not integers; it was kept as it is.");
    }
    if (analog_values > 0 && !parameters.find("FORCE_PLATFORM", "USED")) {
        warnings.push_back("FORCE_PLATFORM:USED is missing; the file was read as having no force plates.");
    }
}

// Whether a lost point's coordinate words say lost whatever its residual: zeros, or a
// coordinate that is no number.
bool lost_by_themselves(const std::string& words, C3dProcessor processor, bool floats) {
    const size_t word = floats ? 4 : 2;
    bool zeros = true, numbers = true;
    for (size_t c = 0; c < 3; ++c) {
        const auto* at = reinterpret_cast<const unsigned char*>(words.data()) + c * word;
        const double v = floats ? c3d_float(at, processor) : c3d_int16(at, processor);
        zeros = zeros && v == 0;
        numbers = numbers && std::isfinite(v);
    }
    return zeros || !numbers;
}

// The parameters again, pointing into the copy of the section the source keeps.
C3dParameters rebased(const C3dParameters& parameters, const unsigned char* file, size_t offset,
                      const std::string& section) {
    C3dParameters copy = parameters;
    const auto* base = reinterpret_cast<const unsigned char*>(section.data());
    for (C3dParameter& p : copy.list) p.data = base + (p.data - file - offset);
    for (C3dRecordSpan& r : copy.records) r.at -= offset;
    copy.declared_end -= offset;
    return copy;
}

}  // namespace

// The reading itself; `mapped`, when given, holds `bytes`, and the frames' pages go back to it
// once decoded.
static int parse(std::string_view bytes, const MappedFile* mapped, const std::string& name, CaptureData& out,
                 ReadError& error, std::vector<std::string>* warnings_out) {
    error = {};
    std::vector<std::string> warnings;
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
    const size_t parameter_offset = (parameter_block - 1) * BLOCK;
    // The parameter records may run past the blocks the section declares, up to the header's data start.
    const int processor_code = data[parameter_offset + 3];
    const C3dProcessor header_processor =
        c3d_known_processor(processor_code) ? static_cast<C3dProcessor>(processor_code) : C3dProcessor::intel;
    const HeaderBlock header = read_header(data, header_processor);
    const size_t header_data_offset = header.data_start >= 1 ? (header.data_start - 1) * BLOCK : 0;
    C3dParameters parameters;
    const std::string problem = c3d_parse_parameters(bytes, parameter_offset, header_data_offset, parameters);
    if (!problem.empty()) return fail("In the parameter section, " + problem);
    const C3dProcessor processor = parameters.processor;

    // Where the data start decides where the parameter records must end.
    long long data_start = count_or(parameters, "POINT", "DATA_START", header.data_start);
    const auto usable_start = [&](long long block) {
        return block >= 2 && static_cast<size_t>(block - 1) * BLOCK <= bytes.size() &&
               static_cast<size_t>(block - 1) * BLOCK >= parameters.records_end();
    };
    if (data_start != header.data_start && !usable_start(data_start) && usable_start(header.data_start)) {
        warnings.push_back("POINT:DATA_START is " + std::to_string(data_start) + "; the header's data start (block " +
                           std::to_string(header.data_start) + ") was used.");
        data_start = header.data_start;
    }
    if (data_start >= 2 && static_cast<size_t>(data_start - 1) * BLOCK > parameter_offset) {
        c3d_cut_parameters(parameters, static_cast<size_t>(data_start - 1) * BLOCK);
    }
    if (!parameters.damage.empty()) {
        // Only what came before the damage can be trusted: enough when it says how many points.
        if (!parameters.find("POINT", "USED")) return fail("In the parameter section, " + parameters.damage);
        warnings.push_back("The parameter section is damaged (" +
                           parameters.damage.substr(0, parameters.damage.size() - 1) +
                           "); the parameters up to the damage were read.");
    }
    if (parameters.past_declared_blocks) {
        warnings.push_back("The parameter records run past the " + std::to_string(data[parameter_offset + 2]) +
                           " blocks the section declares; they were read up to the data.");
    }

    double value;
    const long long points = count_or(parameters, "POINT", "USED", header.points);
    const double scale = parameters.number("POINT", "SCALE", value) ? value : header.scale;
    const double rate = parameters.number("POINT", "RATE", value) ? value : header.rate;
    long long analog_values = header.analog_values;
    long long analog_channels = header.analog_per_point_frame > 0 ? header.analog_values / header.analog_per_point_frame
                                                                  : 0;
    if (header.analog_per_point_frame > 0) {
        const long long channels = count_or(parameters, "ANALOG", "USED", -2);
        if (channels != -2) {
            analog_values = channels < 0 ? -1 : channels * header.analog_per_point_frame;
            analog_channels = channels;
        }
    }
    FrameRange frames = frame_range(parameters, header);

    if (!std::isfinite(scale)) return fail("POINT:SCALE is not a number.");
    if (!std::isfinite(rate) || rate < 0 || rate > 1e9)
        return fail("The frame rate is not a usable number of frames per second.");
    if (points < 0) return fail("POINT:USED is not a number of points.");
    if (points == 0) return fail("The file holds no points.");
    if (analog_values < 0) return fail("ANALOG:USED is not a number of channels.");
    if (frames.count < 1) return fail("The file holds no frames.");

    const bool floats = scale < 0;
    const size_t word = floats ? 4 : 2;
    const size_t frame_bytes = (static_cast<size_t>(points) * 4 + static_cast<size_t>(analog_values)) * word;
    if (data_start < 2 || static_cast<size_t>(data_start - 1) * BLOCK > bytes.size()) {
        return fail("The data section (block " + std::to_string(data_start) + ") lies outside the file.");
    }
    const size_t data_offset = static_cast<size_t>(data_start - 1) * BLOCK;
    const size_t available = bytes.size() - data_offset;
    const unsigned long long held = available / frame_bytes;
    const FrameRange by_header = header_frames(header);
    if (static_cast<unsigned long long>(frames.count) > held && by_header.count >= 1 &&
        static_cast<unsigned long long>(by_header.count) <= held) {
        warnings.push_back("The parameters give " + std::to_string(frames.count) + " frames but the data hold " +
                           std::to_string(held) + "; the header's frames " + std::to_string(by_header.first) +
                           " to " + std::to_string(header.last_frame) + " were read.");
        frames = by_header;
    }
    if (static_cast<unsigned long long>(frames.count) > held) {
        return fail("The file is truncated: " + std::to_string(frames.count) + " frames of " +
                    std::to_string(points) + " points need " +
                    std::to_string(static_cast<unsigned long long>(frames.count) * frame_bytes) + " bytes from block " +
                    std::to_string(data_start) + ", but it holds " + std::to_string(available) + ".");
    }
    if (frames.count > 2147483647LL) return fail("The file holds more frames than a layer can count.");

    // The labels tell marks from the model outputs, which are kept but not shown.
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
    note_odd_parameters(parameters, analog_values, warnings);

    C3dFrameLayout layout;
    layout.processor = processor;
    layout.floats = floats;
    layout.magnitude = std::fabs(scale);
    layout.frame_bytes = frame_bytes;
    layout.frames = static_cast<int>(frames.count);
    layout.marks = kept;
    if (mapped) layout.done_with = [&](size_t from, size_t to) { mapped->release(data_offset + from, data_offset + to); };
    C3dDecodedFrames decoded = c3d_decode_frames(data + data_offset, layout);
    const auto count = static_cast<size_t>(layout.frames);

    auto source = std::make_shared<C3dSource>();
    source->processor = processor;
    source->floats = floats;
    source->scale = scale;
    const std::vector<std::string> format = parameters.strings("ANALOG", "FORMAT");
    source->analog_unsigned = !format.empty() && format[0] == "UNSIGNED";
    source->points = static_cast<int>(points);
    source->analog_words = static_cast<int>(analog_values);
    source->frames = layout.frames;
    source->head.assign(bytes.substr(0, parameter_offset));
    const size_t records_end = std::max(parameters.records_end(), parameter_offset);
    const size_t section_end = std::max(records_end, std::min(data_offset, bytes.size()));
    source->section.assign(bytes.substr(parameter_offset, section_end - parameter_offset));
    if (!parameters.damage.empty()) {
        // What follows the damage is no record: it must not be written back as if it were one.
        std::fill(source->section.begin() + static_cast<long>(records_end - parameter_offset), source->section.end(),
                  '\0');
    }
    source->parameters = rebased(parameters, data, parameter_offset, source->section);
    source->mark_points = kept;
    source->others = std::move(decoded.others);
    source->tail.assign(bytes.substr(data_offset + count * frame_bytes));
    source->lost_words.assign(3 * word, '\0');
    if (!decoded.lost_words.empty()) {
        source->lost_words = decoded.lost_words;
        source->lost_words_alone = lost_by_themselves(decoded.lost_words, processor, floats);
    }

    capture_build(rate, layout.frames, kept_labels, decoded.samples, CaptureFormat::c3d,
                  out, decoded.lost_coordinates);
    for (size_t k = 0; k < kept.size(); ++k) {
        Channel& channel = out.channels[k];
        source->mark_names.push_back(channel.name_text());
        channel.residuals = std::move(decoded.residuals[k]);
        if (!decoded.computed[k]) continue;
        channel.origins = std::make_shared<SampleOrigin[]>(count, SampleOrigin::measured);
        for (size_t f = 0; f < count; ++f) {
            if (channel.residuals[f] == 0 && !is_lost(channel.samples[f].x)) channel.origins[f] = SampleOrigin::computed;
        }
    }
    out.first_frame = static_cast<int>(std::min<long long>(frames.first, 2147483647LL));
    const std::vector<std::string> units = parameters.strings("POINT", "UNITS");
    out.units = units.empty() ? std::string() : units[0];
    out.analog_channels = static_cast<int>(std::min<long long>(analog_channels, 65535));
    double analog_rate;
    out.analog_rate = parameters.number("ANALOG", "RATE", analog_rate) && std::isfinite(analog_rate)
                          ? analog_rate
                          : rate * header.analog_per_point_frame;
    if (out.analog_channels == 0) out.analog_rate = 0;
    out.trial = c3d_trial_read(*source, out.analog_rate);
    out.c3d_source = std::move(source);
    if (warnings_out) *warnings_out = std::move(warnings);
    return 0;
}

int c3d_parse(std::string_view bytes, const std::string& name, CaptureData& out, ReadError& error,
              std::vector<std::string>* warnings) {
    return parse(bytes, nullptr, name, out, error, warnings);
}

int c3d_parse_mapped(const MappedFile& file, const std::string& name, CaptureData& out, ReadError& error,
                     std::vector<std::string>* warnings) {
    return parse(file.bytes(), &file, name, out, error, warnings);
}
