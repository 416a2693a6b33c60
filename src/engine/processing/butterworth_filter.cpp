// A mark whose three coordinates are lost together (the usual case) is filtered with x, y and z
// side by side, which keeps three independent recurrences in flight; a mark whose axes are lost
// apart is filtered one axis at a time.
#include "engine/processing/butterworth_filter.h"

#include <algorithm>
#include <cassert>
#include <memory>

#include "engine/model/seams.h"

namespace {

double axis_of(const Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

// The origins of a mark, made on first use: shared with the current layer's slot when the filter
// works on the working copy.
SampleOrigin* origins_of(CaptureData& data, int mark) {
    if (&data == static_cast<CaptureData*>(&app)) return writable_origins(mark);
    Channel& channel = data.channels[mark];
    if (!channel.origins) {
        channel.origins = std::make_shared<SampleOrigin[]>(static_cast<size_t>(data.num_frames), SampleOrigin::measured);
    }
    return channel.origins.get();
}

bool same_stretches(const std::vector<Stretch>& a, const std::vector<Stretch>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Stretch& s, const Stretch& t) { return s.first == t.first && s.last == t.last; });
}

}  // namespace

std::vector<Stretch> seen_stretches(const Sample* samples, int axis, int first_frame, int last_frame) {
    std::vector<Stretch> stretches;
    int f = first_frame;
    while (f <= last_frame) {
        while (f <= last_frame && is_lost(axis_of(samples[f], axis))) ++f;
        if (f > last_frame) break;
        const int start = f;
        while (f <= last_frame && !is_lost(axis_of(samples[f], axis))) ++f;
        stretches.push_back({start, f - 1});
    }
    return stretches;
}

FilterOutcome butterworth_filter(CaptureData& data, const std::vector<int>& marks, const FilterSettings& settings) {
    FilterOutcome outcome;
    const std::string refusal = filter_refusal(settings.cutoff, data.capture_rate, settings.order);
    if (!refusal.empty()) {
        show_error(refusal);
        outcome.refused = true;
        return outcome;
    }
    const int first = std::max(settings.first_frame, 0);
    const int last = std::min(settings.last_frame, data.num_frames - 1);
    const ButterworthPass pass = butterworth_pass(settings.cutoff, data.capture_rate, settings.order);
    const int shortest = shortest_filtered_stretch(settings.order);
    std::vector<double> scratch;
    for (int mark : marks) {
        assert(mark >= 0 && mark < data.mark_count() && "butterworth_filter: mark out of range");
        Sample* samples = data.channels[mark].samples.get();
        if (!samples || first > last) continue;
        const std::vector<Stretch> axes[3] = {seen_stretches(samples, 0, first, last),
                                              seen_stretches(samples, 1, first, last),
                                              seen_stretches(samples, 2, first, last)};
        const bool together = same_stretches(axes[0], axes[1]) && same_stretches(axes[0], axes[2]);
        std::vector<Stretch> too_short;
        SampleOrigin* origins = nullptr;
        for (int axis = 0; axis < (together ? 1 : 3); ++axis) {
            for (const Stretch& stretch : axes[axis]) {
                if (stretch.length() < shortest) {
                    too_short.push_back(stretch);
                    continue;
                }
                double* values = &samples[stretch.first].x + (together ? 0 : axis);
                filtfilt_stretch(pass, values, stretch.length(), 3, together ? 3 : 1, scratch);
                if (!origins) origins = origins_of(data, mark);
                std::fill(origins + stretch.first, origins + stretch.last + 1, SampleOrigin::filter);
            }
        }
        // A stretch the three axes share is one stretch of the mark, however it was met.
        std::sort(too_short.begin(), too_short.end(),
                  [](const Stretch& s, const Stretch& t) { return s.first != t.first ? s.first < t.first : s.last < t.last; });
        outcome.short_stretches += static_cast<int>(
            std::unique(too_short.begin(), too_short.end(),
                        [](const Stretch& s, const Stretch& t) { return s.first == t.first && s.last == t.last; }) -
            too_short.begin());
        outcome.channels_filtered += origins != nullptr;
    }
    return outcome;
}
