// What a gait lab's C3D file holds beyond the marks: the analog channels and their samples, the
// force plates with the force each records, and the gait events. Kept with the layer read from it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"

struct AnalogChannel {
    std::string label;
    std::string description;
    std::string units;
};

// One force plate as FORCE_PLATFORM describes it; corners and origin in the marks' units.
struct ForcePlate {
    int type = 0;                      // 1 to 4; other types are kept but give no forces
    std::array<Sample, 4> corners{};   // in the lab, corner k in quadrant k + 1 of the plate's axes
    Sample origin{0, 0, 0};            // ORIGIN as the file gives it
    std::vector<int> channels;         // 0-based analog channels, in the order the type reads them
    std::vector<double> calibration;   // type 4: the 6 x 6 matrix, column after column; else empty
};

// At one analog sample: the force the plate records in the lab's axes (N), the centre of pressure
// on its surface (marks' units) and the free moment about its normal (N x marks' units). The
// centre and the moment are NaN while the plate's normal force is below the threshold.
struct PlateSample {
    std::array<float, 3> force;
    std::array<float, 3> cop;
    std::array<float, 3> moment;
};

struct GaitEvent {
    std::string context;      // "Left", "Right", "General"
    std::string label;        // "Foot Strike", "Foot Off" ...
    std::string description;
    double time = 0;          // seconds, as EVENT:TIMES gives it
    int icon_id = 0;
    int source_index = -1;    // its place in the file's EVENT arrays; -1 for an event added since

    bool operator==(const GaitEvent&) const = default;
};

struct EventContext {
    std::string label;
    std::array<int, 3> colour{128, 128, 128};
};

struct C3dTrial {
    std::vector<AnalogChannel> channels;
    double analog_rate = 0;
    int samples_per_frame = 0;  // analog samples per point frame
    // Sample after sample, every channel's value in the file's units: values[s * channels + c].
    std::vector<float> values;
    std::vector<ForcePlate> plates;
    std::vector<std::vector<PlateSample>> forces;  // per plate, one entry per analog sample
    std::vector<GaitEvent> events;                 // in the file's order, added ones last
    std::vector<EventContext> contexts;
    bool events_edited = false;  // Save rewrites EVENT when set
    double body_weight = 0;      // N, as the plates suggest it (engine/gait/force_plates.h)

    int channel_count() const { return static_cast<int>(channels.size()); }
    size_t sample_count() const { return channels.empty() ? 0 : values.size() / channels.size(); }
    double value(size_t sample, int channel) const { return values[sample * channels.size() + channel]; }
};
