// The zero-lag Butterworth low-pass over chosen marks and frames of a capture. Each gap-free
// stretch of a coordinate is filtered on its own, so lost coordinates stay lost and never pull
// their neighbours; it sits beside the smoothing, which stays as it is.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"
#include "engine/processing/butterworth.h"

struct FilterSettings {
    int first_frame = 0;
    int last_frame = 0;
    double cutoff = FILTER_DEFAULT_CUTOFF;  // Hz
    int order = FILTER_DEFAULT_ORDER;       // 2, 4 or 6, the two passes together
};

struct FilterOutcome {
    bool refused = false;       // the settings did not allow filtering: the message was shown
    int channels_filtered = 0;  // marks with at least one stretch filtered
    int short_stretches = 0;    // stretches too short to filter, left as they are (once per mark)
};

// Filters `marks` of data over the settings' frames. Refuses, with the message shown and nothing
// changed, a cutoff that is too high for the capture's rate or an order not offered. The frames
// filtered take the origin "filter".
FilterOutcome butterworth_filter(CaptureData& data, const std::vector<int>& marks, const FilterSettings& settings);

// A run of frames first..last, inclusive.
struct Stretch {
    int first;
    int last;
    int length() const { return last - first + 1; }
};

// The gap-free stretches of one coordinate (axis 0, 1, 2) of a mark's samples over first..last.
std::vector<Stretch> seen_stretches(const Sample* samples, int axis, int first_frame, int last_frame);
