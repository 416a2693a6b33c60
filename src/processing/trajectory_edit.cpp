// Repair and smoothing copy one axis of one chunk into a small array, let the spline fill it,
// and write it back; interchange and scaling work on the samples directly.
#include "processing/trajectory_edit.h"

#include <cassert>
#include <cstdio>
#include <string>
#include <utility>

#include "core/capture_model.h"
#include "core/seams.h"
#include "processing/spline.h"

namespace {

double& coordinate(Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

Sample* channel_samples(int channel) {
    assert(channel >= 0 && channel < app.mark_count() && "channel out of range");
    return app.channels[channel].samples.get();
}

// Runs `fill` on every chunk of every axis, with the chunk's values copied in and written back.
template <class Fill>
void edit_chunks(int first_frame, int last_frame, int channel, Fill fill) {
    Sample* samples = channel_samples(channel);
    double values[CHUNK_MAX];
    for (int axis = 0; axis < 3; ++axis) {
        for_each_chunk(first_frame, last_frame, [&](int start, int end) {
            const int count = end - start + 1;
            for (int p = 0; p < count; ++p) values[p] = coordinate(samples[start + p], axis);
            fill(count, values);
            for (int p = 0; p < count; ++p) coordinate(samples[start + p], axis) = values[p];
        });
    }
}

}  // namespace

void repair_channel(int first_frame, int last_frame, int channel) {
    edit_chunks(first_frame, last_frame, channel, [](int count, double* values) { spline_fill(count, values); });
}

int count_channel_lost(int first_frame, int last_frame, int channel) {
    const Sample* samples = channel_samples(channel);
    int lost = 0;
    for (int f = first_frame; f <= last_frame; ++f) {
        lost += is_lost(samples[f].x) + is_lost(samples[f].y) + is_lost(samples[f].z);
    }
    return lost;
}

int smooth_channel(int first_frame, int last_frame, int channel, int factor) {
    const int lost = count_channel_lost(first_frame, last_frame, channel);
    if (lost != 0) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "The selected interval can't have \n errors to make a smooth.\n The interval %d - %d of channel "
                      "[%s] has %d errors.",
                      first_frame, last_frame, app.channels[channel].name_text().c_str(), lost);
        show_message(text, MESSAGE_ERROR, BUTTONS_CLOSE);
        return 1;
    }
    edit_chunks(first_frame, last_frame, channel, [factor](int count, double* values) {
        for (int p = 0; p < count; ++p) {
            if (p % factor != 0 && p != count - 1) values[p] = LOST_VALUE;
        }
        spline_fill(count, values);
    });
    return 0;
}

void interchange_channels(int first_frame, int last_frame, int channel_a, int channel_b) {
    Sample* a = channel_samples(channel_a);
    Sample* b = channel_samples(channel_b);
    for (int f = first_frame; f <= last_frame; ++f) std::swap(a[f], b[f]);
    if (first_frame <= last_frame && channel_a != channel_b) note_samples_changed();
}

void scale_data(float s) {
    const double factor = 1.0 + s;
    for (int m = 0; m < app.mark_count(); ++m) {
        Sample* samples = app.channels[m].samples.get();
        for (int f = 0; f < app.num_frames; ++f) {
            for (int axis = 0; axis < 3; ++axis) {
                double& v = coordinate(samples[f], axis);
                if (v < LOST_THRESHOLD) v *= factor;
            }
        }
    }
    if (factor != 1.0) note_samples_changed();
}
