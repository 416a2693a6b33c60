// The words shown for sample origins and the layer's count of computed samples.
#include "engine/model/sample_origin_text.h"

#include "engine/model/limits.h"

namespace {

const char* origin_word(SampleOrigin origin) {
    switch (origin) {
    case SampleOrigin::measured: return "measured";
    case SampleOrigin::computed: return "computed";
    case SampleOrigin::repair: return "repair";
    case SampleOrigin::smoothing: return "smoothing";
    case SampleOrigin::filter: return "filter";
    case SampleOrigin::fill_spline: return "fill (spline)";
    case SampleOrigin::fill_marks: return "fill (marks)";
    case SampleOrigin::edit: return "edit";
    case SampleOrigin::scaling: return "scaling";
    case SampleOrigin::diagnosis: return "diagnosis";
    }
    return "computed";
}

}  // namespace

const char* sample_origin_text(const CaptureData& data, int mark, int frame) {
    const Channel& channel = data.channels[mark];
    if (is_lost(channel.samples[frame].x)) return "lost";
    return origin_word(channel.origin(frame));
}

long count_computed_samples(const CaptureData& data) {
    long count = 0;
    for (const Channel& channel : data.channels) {
        if (channel.empty() || !channel.origins) continue;
        for (int f = 0; f < data.num_frames; ++f) {
            count += origin_is_computed(channel.origins[f]) && !is_lost(channel.samples[f].x);
        }
    }
    return count;
}
