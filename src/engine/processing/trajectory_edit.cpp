// Repair and smoothing copy the three axes of one chunk into small arrays, let the spline fill
// each, and write back what changed; interchange and scaling work on the samples directly. Each
// records the origin of the samples whose value it changes, and makes a channel's origins only
// when it changes one of its samples.
#include "engine/processing/trajectory_edit.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/spline.h"

namespace {

double& coordinate(Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

Sample* channel_samples(const CaptureData& data, int channel) {
    assert(channel >= 0 && channel < data.mark_count() && "channel out of range");
    return data.channels[channel].samples.get();
}

// Runs `fill` on every axis of every chunk, with the chunk's values copied in and written back
// unless `fill` says it left them all as they were; a sample takes `origin` when the fill
// changed any of its coordinates.
template <class Fill>
void edit_chunks(CaptureData& data, int first_frame, int last_frame, int channel, SampleOrigin origin, Fill fill) {
    Sample* samples = channel_samples(data, channel);
    SampleOrigin* origins = nullptr;
    double x[CHUNK_MAX], y[CHUNK_MAX], z[CHUNK_MAX];
    for_each_chunk(first_frame, last_frame, [&](int start, int end) {
        const int count = end - start + 1;
        Sample* chunk = samples + start;
        for (int p = 0; p < count; ++p) {
            x[p] = chunk[p].x;
            y[p] = chunk[p].y;
            z[p] = chunk[p].z;
        }
        bool filled = false;
        for (double* values : {x, y, z}) filled |= fill(count, values);
        if (!filled) return;
        for (int p = 0; p < count; ++p) {
            Sample& sample = chunk[p];
            if (sample.x == x[p] && sample.y == y[p] && sample.z == z[p]) continue;
            sample = {x[p], y[p], z[p]};
            if (!origins) origins = writable_origins(data, channel);
            origins[start + p] = origin;
        }
    });
}

}  // namespace

void repair_channel(CaptureData& data, int first_frame, int last_frame, int channel, SampleOrigin origin) {
    edit_chunks(data, first_frame, last_frame, channel, origin, [](int count, double* values) {
        // The spline passes through every valid entry, so a chunk without lost ones stays as it is.
        if (std::none_of(values, values + count, is_lost)) return false;
        spline_fill(count, values);
        return true;
    });
}

void repair_channel(int first_frame, int last_frame, int channel) {
    repair_channel(app, first_frame, last_frame, channel);
}

int count_channel_lost(const CaptureData& data, int first_frame, int last_frame, int channel) {
    const Sample* samples = channel_samples(data, channel);
    int lost = 0;
    for (int f = first_frame; f <= last_frame; ++f) {
        lost += is_lost(samples[f].x) + is_lost(samples[f].y) + is_lost(samples[f].z);
    }
    return lost;
}

int smooth_channel(CaptureData& data, int first_frame, int last_frame, int channel, int factor,
                   SampleOrigin origin) {
    const int lost = count_channel_lost(data, first_frame, last_frame, channel);
    if (lost != 0) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "The selected interval can't have \n errors to make a smooth.\n The interval %d - %d of channel "
                      "[%s] has %d errors.",
                      first_frame, last_frame, data.channels[channel].name_text().c_str(), lost);
        show_message(text, MESSAGE_ERROR, BUTTONS_CLOSE);
        return 1;
    }
    edit_chunks(data, first_frame, last_frame, channel, origin, [factor](int count, double* values) {
        for (int p = 0; p < count; ++p) {
            if (p % factor != 0 && p != count - 1) values[p] = LOST_VALUE;
        }
        spline_fill(count, values);
        return true;
    });
    return 0;
}

int smooth_channel(int first_frame, int last_frame, int channel, int factor) {
    return smooth_channel(app, first_frame, last_frame, channel, factor);
}

void interchange_channels(CaptureData& data, int first_frame, int last_frame, int channel_a, int channel_b) {
    Sample* a = channel_samples(data, channel_a);
    Sample* b = channel_samples(data, channel_b);
    if (first_frame > last_frame || channel_a == channel_b) return;
    std::swap_ranges(a + first_frame, a + last_frame + 1, b + first_frame);
    // Where a value came from and how well the cameras saw it travel with it. A layer's marks
    // hold residuals all or none, as its file gave them.
    Channel& one = data.channels[channel_a];
    Channel& other = data.channels[channel_b];
    if (one.origins || other.origins) {
        SampleOrigin* origins_a = writable_origins(data, channel_a);
        SampleOrigin* origins_b = writable_origins(data, channel_b);
        std::swap_ranges(origins_a + first_frame, origins_a + last_frame + 1, origins_b + first_frame);
    }
    if (one.residuals && other.residuals) {
        std::swap_ranges(one.residuals.get() + first_frame, one.residuals.get() + last_frame + 1,
                         other.residuals.get() + first_frame);
    }
    note_samples_changed(data);
}

void scale_data(CaptureData& data, float s) {
    const double factor = 1.0 + s;
    if (factor == 1.0) return;
    for (int m = 0; m < data.mark_count(); ++m) {
        Sample* samples = data.channels[m].samples.get();
        SampleOrigin* origins = nullptr;
        for (int f = 0; f < data.num_frames; ++f) {
            bool changed = false;
            for (int axis = 0; axis < 3; ++axis) {
                double& v = coordinate(samples[f], axis);
                if (v >= LOST_THRESHOLD) continue;
                const double scaled = v * factor;
                changed |= scaled != v;
                v = scaled;
            }
            if (!changed) continue;
            if (!origins) origins = writable_origins(data, m);
            origins[f] = SampleOrigin::scaling;
        }
    }
    note_samples_changed(data);
}
