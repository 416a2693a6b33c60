// The algorithms that change the samples of the current layer: lost-mark repair, smoothing,
// channel interchange and data scaling.
#pragma once

#include "engine/model/capture_model.h"

// Calls visit(start, end) for each chunk of first..last as repair and smoothing cut it: the
// first chunk holds 100 frames, each later one 99, the last ends at `last`; an interval of
// exactly 101 frames is one chunk. Nothing when last <= first.
template <class Visit>
void for_each_chunk(int first, int last, Visit visit) {
    if (last <= first) return;
    int start = first;
    int end = first;
    while (end != last) {
        end = last - end > 100 ? end + 99 : last;
        visit(start, end);
        start = end + 1;
    }
}

// Fills the lost coordinates of a channel of `data` over first..last on each axis from the
// spline; each sample filled takes `origin`. Without `data`, of the working copy.
void repair_channel(CaptureData& data, int first_frame, int last_frame, int channel,
                    SampleOrigin origin = SampleOrigin::repair);
void repair_channel(int first_frame, int last_frame, int channel);

// Rebuilds a channel of `data` over first..last from every factor-th frame; refused with a
// message when the interval holds lost coordinates. Each sample whose value changed takes
// `origin`. Returns 0 when smoothed, 1 when refused. Without `data`, of the working copy.
int smooth_channel(CaptureData& data, int first_frame, int last_frame, int channel, int factor,
                   SampleOrigin origin = SampleOrigin::smoothing);
int smooth_channel(int first_frame, int last_frame, int channel, int factor);

// Exchanges the x, y and z of two channels over first..last, with their origins and residuals.
// A command of its own: it notes the change of samples.
void interchange_channels(CaptureData& data, int first_frame, int last_frame, int channel_a, int channel_b);

// Multiplies every valid coordinate of the capture by 1 + s, and notes the change; each sample
// changed takes the origin `scaling`.
void scale_data(CaptureData& data, float s);

// Lost coordinates of a channel over first..last, x, y and z each counted.
int count_channel_lost(const CaptureData& data, int first_frame, int last_frame, int channel);
