// The crisp inputs of the fuzzy systems: for each mark, normalised positions at a frame and the
// four frames before it, with their differences (velocities) and differences of those
// (accelerations), on each axis.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"
#include "engine/scene/camera.h"

constexpr int FUZZY_WINDOW = 50;       // half width of the window an axis is normalised over
constexpr double FUZZY_SCALE = 10.0;   // normalised positions run from 0 to this, and are cut at it
constexpr double BOUND_START = 99999.0;

struct AxisMotion {
    double position[5];      // position[k]: frame n - k
    double velocity[4];      // position[k] - position[k + 1]
    double acceleration[3];  // velocity[k] - velocity[k + 1]
};

struct MotionInputs {
    AxisMotion axis[3];  // x, y, z
};

// One row per mark, holding the frame computed last. The table grows to the marks of the
// captures normalised (fuzzy_normalise), once, not per inference.
extern std::vector<MotionInputs> motion_inputs;

struct AxisBounds {
    double min[3];
    double max[3];
};

// The bounds of one mark over the frames max(n - 50, 0) .. min(n + 50, frames) - 1: per axis the
// extremes of the valid coordinates, 99999 / -99999 when there are none.
AxisBounds window_bounds(const Sample* samples, int num_frames, int n);

// The 3-D view's bounds as the view last computed them.
AxisBounds view_axis_bounds(const ViewBounds& bounds);

// Fills the row of `mark` of `data` for frame n (4 <= n < num_frames) from the given bounds.
void fuzzy_normalise(const CaptureData& data, int n, int mark, const AxisBounds& bounds);

// Fills the row of `mark` for frame n, with the given view bounds or those of the window; without
// the capture and bounds, of the working copy with the 3-D view's bounds.
void fuzzy_compute_inputs(const CaptureData& data, const ViewBounds& view_bounds, int n, int mark,
                          int use_view_bounds);
void fuzzy_compute_inputs(int n, int mark, int use_view_bounds);

// The window bounds of one mark for frames visited one after another, kept up to date as the
// window slides instead of being recomputed: the same bounds as window_bounds, without
// allocating. Any change to the mark's samples calls for reset().
class SlidingBounds {
public:
    void reset(const Sample* samples, int num_frames);
    // The bounds for frame n; cheapest when n is one more than the frame asked for last.
    const AxisBounds& at(int n);

private:
    static constexpr int CAPACITY = 128;  // more than the 2 x FUZZY_WINDOW + 1 frames of a window
    // Frames of the window in order, each with a coordinate beyond every later one (the
    // candidates for the extreme once the earlier frames have left the window).
    struct Queue {
        int frame[CAPACITY];
        int head = 0;
        int tail = 0;
    };
    void push(int frame);
    void drop_before(int first);

    const Sample* samples_ = nullptr;
    int num_frames_ = 0;
    int last_n_ = -1;
    int next_frame_ = 0;  // the first frame not yet pushed
    Queue min_[3], max_[3];
    AxisBounds bounds_{};
};
