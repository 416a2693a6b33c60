// The ANALOG, FORCE_PLATFORM, EVENT and EVENT_CONTEXT groups, read from the kept parameter
// section; the analog words from the kept frames, where they follow the points that are not marks.
#include "engine/formats/c3d/c3d_trial_read.h"

#include <algorithm>
#include <cmath>

#include "engine/gait/force_plates.h"
#include "platform/parallel_pieces.h"

namespace {

// What one parameter array can index (each dimension is a byte).
constexpr size_t MOST_ENTRIES = 255;

// Every element of a numeric parameter; 16-bit integers read signed or not as the meaning needs.
std::vector<double> numbers(const C3dParameters& parameters, const char* group, const char* name,
                            bool signed_words = false) {
    std::vector<double> out;
    const C3dParameter* p = parameters.find(group, name);
    if (!p || p->type < 1) return out;
    for (size_t i = 0; i < p->count; ++i) {
        switch (p->type) {
        case 1: out.push_back(p->data[i]); break;
        case 2:
            out.push_back(signed_words ? c3d_int16(p->data + 2 * i, parameters.processor)
                                       : c3d_uint16(p->data + 2 * i, parameters.processor));
            break;
        default: out.push_back(c3d_float(p->data + 4 * i, parameters.processor)); break;
        }
    }
    return out;
}

// A character array that may go on in NAME2, NAME3 ... past 255 entries.
std::vector<std::string> long_strings(const C3dParameters& parameters, const char* group, const std::string& name,
                                      size_t wanted) {
    std::vector<std::string> out = parameters.strings(group, name);
    for (int n = 2; out.size() < wanted; ++n) {
        const auto more = parameters.strings(group, name + std::to_string(n));
        if (more.empty()) break;
        out.insert(out.end(), more.begin(), more.end());
    }
    out.resize(wanted);
    return out;
}

double at_or(const std::vector<double>& list, size_t i, double fallback) {
    return i < list.size() && std::isfinite(list[i]) ? list[i] : fallback;
}

void read_analog(const C3dSource& source, C3dTrial& trial) {
    const C3dParameters& parameters = source.parameters;
    double used = 0;
    if (!parameters.number("ANALOG", "USED", used) || !(used >= 1) || source.analog_words == 0) return;
    const auto channels = static_cast<size_t>(used);
    if (source.analog_words % channels != 0) return;
    trial.samples_per_frame = static_cast<int>(source.analog_words / channels);
    const auto labels = long_strings(parameters, "ANALOG", "LABELS", channels);
    const auto descriptions = long_strings(parameters, "ANALOG", "DESCRIPTIONS", channels);
    const auto units = long_strings(parameters, "ANALOG", "UNITS", channels);
    for (size_t c = 0; c < channels; ++c) trial.channels.push_back({labels[c], descriptions[c], units[c]});

    const std::vector<double> scale = numbers(parameters, "ANALOG", "SCALE");
    const std::vector<double> offset = numbers(parameters, "ANALOG", "OFFSET", !source.analog_unsigned);
    double gen_scale = 1;
    if (!parameters.number("ANALOG", "GEN_SCALE", gen_scale) || !std::isfinite(gen_scale)) gen_scale = 1;
    std::vector<double> factor(channels), zero(channels);
    for (size_t c = 0; c < channels; ++c) {
        factor[c] = at_or(scale, c, 1) * gen_scale;
        zero[c] = at_or(offset, c, 0);
    }

    const size_t word = source.word_size();
    const size_t frame_bytes = source.others_per_frame();
    const size_t skip = source.other_point_count() * 4 * word;
    trial.values.resize(static_cast<size_t>(source.frames) * source.analog_words);
    const auto* bytes = reinterpret_cast<const unsigned char*>(source.others.data());
    // The storage is chosen once, not for each of the millions of values a gait trial holds.
    const auto decode = [&](auto raw_of) {
        float* out = trial.values.data();
        for (int f = 0; f < source.frames; ++f) {
            const unsigned char* p = bytes + f * frame_bytes + skip;
            size_t c = 0;  // the values of a frame go round the channels, several samples a frame
            for (int w = 0; w < source.analog_words; ++w, p += word) {
                *out++ = static_cast<float>((raw_of(p) - zero[c]) * factor[c]);
                if (++c == channels) c = 0;
            }
        }
    };
    const C3dProcessor processor = source.processor;
    if (source.floats) decode([processor](const unsigned char* p) { return double(c3d_float(p, processor)); });
    else if (source.analog_unsigned) decode([processor](const unsigned char* p) { return double(c3d_uint16(p, processor)); });
    else decode([processor](const unsigned char* p) { return double(c3d_int16(p, processor)); });
}

void read_plates(const C3dParameters& parameters, C3dTrial& trial) {
    double used = 0;
    if (!parameters.number("FORCE_PLATFORM", "USED", used) || !(used >= 1)) return;
    const auto plates = std::min(static_cast<size_t>(used), MOST_ENTRIES);
    const std::vector<double> types = numbers(parameters, "FORCE_PLATFORM", "TYPE");
    const std::vector<double> corners = numbers(parameters, "FORCE_PLATFORM", "CORNERS");
    const std::vector<double> origins = numbers(parameters, "FORCE_PLATFORM", "ORIGIN");
    const std::vector<double> channels = numbers(parameters, "FORCE_PLATFORM", "CHANNEL", true);
    const std::vector<double> calibration = numbers(parameters, "FORCE_PLATFORM", "CAL_MATRIX");
    const C3dParameter* channel = parameters.find("FORCE_PLATFORM", "CHANNEL");
    const size_t per_plate = channel && !channel->dimensions.empty() ? channel->dimensions[0] : 6;
    const std::vector<double> zero = numbers(parameters, "FORCE_PLATFORM", "ZERO");
    const int zero_first = static_cast<int>(at_or(zero, 0, 0)), zero_last = static_cast<int>(at_or(zero, 1, 0));
    size_t calibrated = 0;  // CAL_MATRIX holds a matrix for each plate of type 4, in order
    // Plates get forces while they need no more channels than the file has: a damaged file that
    // lists many plates on the same channels must not multiply the memory its samples take.
    int channels_left = trial.channel_count();
    std::vector<bool> with_forces;
    for (size_t n = 0; n < plates; ++n) {
        ForcePlate plate;
        plate.type = static_cast<int>(at_or(types, n, 0));
        for (size_t k = 0; k < 4; ++k) {
            const size_t at = n * 12 + k * 3;
            plate.corners[k] = {at_or(corners, at, 0), at_or(corners, at + 1, 0), at_or(corners, at + 2, 0)};
        }
        plate.origin = {at_or(origins, n * 3, 0), at_or(origins, n * 3 + 1, 0), at_or(origins, n * 3 + 2, 0)};
        for (size_t k = 0; k < per_plate; ++k) plate.channels.push_back(static_cast<int>(at_or(channels, n * per_plate + k, 0)) - 1);
        if (plate.type == 4) {
            // The matrices are 6 x 6 each; a file may hold one per plate or only for its type-4 ones.
            const size_t at = calibration.size() >= plates * 36 ? n * 36 : calibrated * 36;
            if (at + 36 <= calibration.size())
                plate.calibration.assign(calibration.begin() + static_cast<long>(at), calibration.begin() + static_cast<long>(at + 36));
            ++calibrated;
        }
        channels_left -= plate.type == 3 ? 8 : 6;
        with_forces.push_back(channels_left >= 0);
        trial.plates.push_back(std::move(plate));
    }
    // Each plate's forces depend on its own channels only: the plates are shared out among the
    // cores, plate n to worker n % workers. A worker whose thread cannot start works here.
    trial.forces.resize(plates);
    const size_t workers = std::min<size_t>(plates, static_cast<size_t>(machine_cores()));
    run_pieces(static_cast<int>(workers), [&](int worker) {
        for (size_t n = static_cast<size_t>(worker); n < plates; n += workers) {
            if (with_forces[n]) trial.forces[n] = plate_forces(trial, trial.plates[n], zero_first, zero_last);
        }
    });
}

void read_events(const C3dParameters& parameters, C3dTrial& trial) {
    double used = 0;
    const std::vector<std::string> context_labels = parameters.strings("EVENT_CONTEXT", "LABELS");
    const std::vector<double> colours = numbers(parameters, "EVENT_CONTEXT", "COLOURS");
    for (size_t k = 0; k < context_labels.size(); ++k) {
        EventContext context;
        context.label = context_labels[k];
        if (colours.size() >= 3 * k + 3) {
            for (int c = 0; c < 3; ++c) context.colour[c] = static_cast<int>(colours[3 * k + c]);
        }
        trial.contexts.push_back(context);
    }
    if (!parameters.number("EVENT", "USED", used) || !(used >= 1)) return;
    const auto count = std::min(static_cast<size_t>(used), MOST_ENTRIES);
    const auto contexts = long_strings(parameters, "EVENT", "CONTEXTS", count);
    const auto labels = long_strings(parameters, "EVENT", "LABELS", count);
    const auto descriptions = long_strings(parameters, "EVENT", "DESCRIPTIONS", count);
    const std::vector<double> times = numbers(parameters, "EVENT", "TIMES");
    const std::vector<double> icons = numbers(parameters, "EVENT", "ICON_IDS", true);
    for (size_t k = 0; k < count; ++k) {
        GaitEvent event;
        event.context = contexts[k];
        event.label = labels[k];
        event.description = descriptions[k];
        // TIMES holds minutes and seconds for each event.
        event.time = at_or(times, 2 * k, 0) * 60 + at_or(times, 2 * k + 1, 0);
        event.icon_id = static_cast<int>(at_or(icons, k, 0));
        event.source_index = static_cast<int>(k);
        trial.events.push_back(event);
    }
}

}  // namespace

std::shared_ptr<C3dTrial> c3d_trial_read(const C3dSource& source, double analog_rate) {
    auto trial = std::make_shared<C3dTrial>();
    trial->analog_rate = analog_rate;
    read_analog(source, *trial);
    read_plates(source.parameters, *trial);
    read_events(source.parameters, *trial);
    trial->body_weight = body_weight_estimate(*trial);
    return trial;
}
