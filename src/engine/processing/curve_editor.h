// Reshaping one coordinate of one mark by hand: the frames of an interval as control points of a
// curve in the unit square, and the curve written back into the samples through a cubic spline.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

// A frame interval, inclusive at both ends.
struct CurveInterval {
    int first_frame;
    int last_frame;
};

// The interval the editor works on for the frames typed in its spin buttons: the last frame kept
// inside the capture, the first frame at most num_frames - 2, and at least two frames.
CurveInterval clamp_curve_interval(int first_frame, int last_frame, int num_frames);

// What the curve stands for: one axis (0 x, 1 y, 2 z) of one mark of a capture over a clamped
// interval.
struct CurveTarget {
    int mark;
    int axis;
    int first_frame;
    int last_frame;
};

// The value scale of the curve: y = 0 is curve_min and y = 1 is curve_max. It is recomputed only
// by a load with rescaling, so that Discard and Make keep the scale the user was editing on.
// Bounds with curve_max < curve_min mean the interval held no valid value when they were taken.
struct CurveScale {
    double curve_min = 0;
    double curve_max = 0;
    bool set = false;
};

// A control point as the curve widget holds it.
struct CurvePoint {
    float x;
    float y;
};

// The control points of the target's frames, one per frame: x = i / (last - first), y the value on
// the scale, lost frames at curve_max (the top). With `rescale`, or while the scale has never been
// set, the scale is first taken from the interval's valid values. An interval whose valid values
// are all equal loads as a flat line at y = 0.5.
std::vector<CurvePoint> curve_load_points(const CaptureData& data, const CurveTarget& target, int rescale,
                                          CurveScale& scale);

// The control points as Make writes them: in 64 bits, the first one pinned to x = 0 and the last
// one to x = 1 whatever their x.
struct CurveControls {
    std::vector<double> xs;
    std::vector<double> ys;
};
CurveControls curve_controls(const std::vector<CurvePoint>& points);

// Writes the curve through the control points xs, ys (count of them, xs increasing from 0 to 1)
// into the target's frames on the given scale, each frame it changes taking the origin `edit`,
// writes the history line and notes the change. An interval without any valid value is refused
// with an error box and nothing changes. Returns 0 on success, 1 when refused.
int marks_curve_store(CaptureData& data, const CurveTarget& target, const CurveScale& scale, int count,
                      const double* xs, const double* ys);
