// Normalisation of a mark's trajectory around a frame, over the view's bounds or a window of
// 101 frames, and the sliding form of the window bounds that the diagnosis run uses.
#include "engine/fuzzy/motion_inputs.h"

#include <algorithm>
#include <cassert>

#include "engine/scene/view_state.h"

std::vector<MotionInputs> motion_inputs;

namespace {

double coordinate(const Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

int window_first(int n) { return std::max(n - FUZZY_WINDOW, 0); }
int window_last(int n, int num_frames) { return std::min(n + FUZZY_WINDOW, num_frames) - 1; }

}  // namespace

AxisBounds window_bounds(const Sample* samples, int num_frames, int n) {
    AxisBounds b;
    for (int axis = 0; axis < 3; ++axis) {
        b.min[axis] = BOUND_START;
        b.max[axis] = -BOUND_START;
    }
    const int last = window_last(n, num_frames);
    for (int f = window_first(n); f <= last; ++f) {
        for (int axis = 0; axis < 3; ++axis) {
            const double v = coordinate(samples[f], axis);
            if (v >= LOST_THRESHOLD) continue;
            if (v > b.max[axis]) b.max[axis] = v;
            if (v < b.min[axis]) b.min[axis] = v;
        }
    }
    return b;
}

AxisBounds view_axis_bounds(const ViewBounds& v) {
    return {{v.min_x, v.min_y, v.min_z}, {v.max_x, v.max_y, v.max_z}};
}

void fuzzy_normalise(const CaptureData& data, int n, int mark, const AxisBounds& bounds) {
    assert(mark >= 0 && mark < data.mark_count() && n >= 4 && "frame or mark out of range");
    if (motion_inputs.size() < static_cast<size_t>(data.mark_count())) motion_inputs.resize(data.mark_count());
    const Sample* samples = data.channels[mark].samples.get();
    for (int axis = 0; axis < 3; ++axis) {
        AxisMotion& row = motion_inputs[mark].axis[axis];
        const double min = bounds.min[axis];
        const double range = bounds.max[axis] - min;
        for (int k = 4; k >= 0; --k) {
            // An axis that does not move within the bounds has nothing to normalise by.
            double p = 0.0;
            if (range != 0.0) p = std::min((coordinate(samples[n - k], axis) - min) / range * FUZZY_SCALE, FUZZY_SCALE);
            row.position[k] = p;
        }
        for (int k = 0; k < 4; ++k) row.velocity[k] = row.position[k] - row.position[k + 1];
        for (int k = 0; k < 3; ++k) row.acceleration[k] = row.velocity[k] - row.velocity[k + 1];
    }
}

void fuzzy_compute_inputs(const CaptureData& data, const ViewBounds& view_bounds, int n, int mark,
                          int use_view_bounds) {
    assert(n >= 4 && n < data.num_frames && "frame out of range");
    const AxisBounds bounds = use_view_bounds ? view_axis_bounds(view_bounds)
                                              : window_bounds(data.channels[mark].samples.get(), data.num_frames, n);
    fuzzy_normalise(data, n, mark, bounds);
}

void fuzzy_compute_inputs(int n, int mark, int use_view_bounds) {
    fuzzy_compute_inputs(app, view.bounds, n, mark, use_view_bounds);
}

void SlidingBounds::reset(const Sample* samples, int num_frames) {
    samples_ = samples;
    num_frames_ = num_frames;
    last_n_ = -1;
}

void SlidingBounds::push(int frame) {
    constexpr int mask = CAPACITY - 1;
    for (int axis = 0; axis < 3; ++axis) {
        const double v = coordinate(samples_[frame], axis);
        if (v >= LOST_THRESHOLD) continue;
        Queue& lows = min_[axis];
        while (lows.tail != lows.head && coordinate(samples_[lows.frame[(lows.tail - 1) & mask]], axis) >= v) --lows.tail;
        lows.frame[lows.tail++ & mask] = frame;
        Queue& highs = max_[axis];
        while (highs.tail != highs.head && coordinate(samples_[highs.frame[(highs.tail - 1) & mask]], axis) <= v) {
            --highs.tail;
        }
        highs.frame[highs.tail++ & mask] = frame;
    }
}

void SlidingBounds::drop_before(int first) {
    constexpr int mask = CAPACITY - 1;
    for (int axis = 0; axis < 3; ++axis) {
        for (Queue* q : {&min_[axis], &max_[axis]}) {
            while (q->head != q->tail && q->frame[q->head & mask] < first) ++q->head;
        }
    }
}

const AxisBounds& SlidingBounds::at(int n) {
    static_assert(CAPACITY > 2 * FUZZY_WINDOW + 1 && (CAPACITY & (CAPACITY - 1)) == 0);
    constexpr int mask = CAPACITY - 1;
    const int first = window_first(n);
    if (last_n_ < 0 || n != last_n_ + 1) {
        for (int axis = 0; axis < 3; ++axis) min_[axis] = max_[axis] = Queue{};
        next_frame_ = first;
    }
    last_n_ = n;
    for (const int last = window_last(n, num_frames_); next_frame_ <= last; ++next_frame_) push(next_frame_);
    drop_before(first);
    for (int axis = 0; axis < 3; ++axis) {
        // The window's extremes, seen from the same starting values as window_bounds.
        const Queue& lows = min_[axis];
        const Queue& highs = max_[axis];
        const double low = lows.head != lows.tail ? coordinate(samples_[lows.frame[lows.head & mask]], axis) : BOUND_START;
        const double high = highs.head != highs.tail ? coordinate(samples_[highs.frame[highs.head & mask]], axis) : -BOUND_START;
        bounds_.min[axis] = std::min(low, BOUND_START);
        bounds_.max[axis] = std::max(high, -BOUND_START);
    }
    return bounds_;
}
