// The arithmetic of the trajectory editor: interval clamping, samples to control points and the
// curve back to samples. Nothing here reads a widget.
#include "engine/processing/curve_editor.h"

#include <cassert>
#include <cstdio>
#include <string>

#include "engine/model/seams.h"
#include "engine/processing/spline.h"

namespace {

// The bounds a rescaling load starts from; an interval without valid values keeps them.
constexpr double SCALE_START_MAX = -99999.0;
constexpr double SCALE_START_MIN = 99999.0;

double& coordinate(Sample& sample, int axis) {
    assert(axis >= 0 && axis <= 2 && "an axis is 0, 1 or 2");
    return axis == 0 ? sample.x : axis == 1 ? sample.y : sample.z;
}

double coordinate(const Sample& sample, int axis) { return axis_coordinate(sample, axis); }

Sample* target_samples(const CaptureData& data, const CurveTarget& target) {
    assert(target.mark >= 0 && target.mark < data.mark_count() && !data.channels[target.mark].empty() &&
           "the curve targets a mark of the capture");
    assert(target.first_frame >= 0 && target.first_frame < target.last_frame && target.last_frame < data.num_frames &&
           "the curve targets a clamped interval");
    return data.channels[target.mark].samples.get();
}

bool is_valid(double value) { return value < LOST_THRESHOLD; }

void rescale_to(const CaptureData& data, const CurveTarget& target, CurveScale& scale) {
    const Sample* samples = target_samples(data, target);
    scale.curve_max = SCALE_START_MAX;
    scale.curve_min = SCALE_START_MIN;
    for (int f = target.first_frame; f <= target.last_frame; ++f) {
        const double v = coordinate(samples[f], target.axis);
        if (v > scale.curve_max && is_valid(v)) scale.curve_max = v;
        if (v < scale.curve_min) scale.curve_min = v;
    }
    scale.set = true;
}

std::string interval_text(const char* format, const CaptureData& data, const CurveTarget& target) {
    const std::string& name = data.channels[target.mark].name_text();
    const int size = std::snprintf(nullptr, 0, format, target.first_frame, target.last_frame, name.c_str());
    std::string text(size, '\0');
    std::snprintf(text.data(), size + 1, format, target.first_frame, target.last_frame, name.c_str());
    return text;
}

}  // namespace


CurveInterval clamp_curve_interval(int first_frame, int last_frame, int num_frames) {
    if (last_frame > num_frames - 1) last_frame = num_frames - 1;
    if (first_frame > num_frames - 2) first_frame = num_frames - 2;
    if (first_frame >= last_frame) last_frame = first_frame + 1;
    return {first_frame, last_frame};
}

std::vector<CurvePoint> curve_load_points(const CaptureData& data, const CurveTarget& target, int rescale,
                                          CurveScale& scale) {
    const Sample* samples = target_samples(data, target);
    if (rescale || !scale.set) rescale_to(data, target, scale);
    const double span = scale.curve_max - scale.curve_min;
    const double frames = target.last_frame - target.first_frame;
    std::vector<CurvePoint> points;
    points.reserve(target.last_frame - target.first_frame + 1);
    for (int f = target.first_frame; f <= target.last_frame; ++f) {
        double v = coordinate(samples[f], target.axis);
        if (is_lost(v)) v = scale.curve_max;
        const double y = span == 0 ? 0.5 : (v - scale.curve_min) / span;
        points.push_back({static_cast<float>((f - target.first_frame) / frames), static_cast<float>(y)});
    }
    return points;
}

CurveControls curve_controls(const std::vector<CurvePoint>& points) {
    CurveControls controls;
    for (const CurvePoint& point : points) {
        controls.xs.push_back(point.x);
        controls.ys.push_back(point.y);
    }
    if (!points.empty()) {
        controls.xs.front() = 0.0;
        controls.xs.back() = 1.0;
    }
    return controls;
}

int marks_curve_store(CaptureData& data, const CurveTarget& target, const CurveScale& scale, int count,
                      const double* xs, const double* ys) {
    assert(count >= 1 && "the curve holds at least one control point");
    Sample* samples = target_samples(data, target);
    bool has_valid = false;
    for (int f = target.first_frame; f <= target.last_frame && !has_valid; ++f) {
        has_valid = is_valid(coordinate(samples[f], target.axis));
    }
    if (!has_valid || !scale.set || scale.curve_max < scale.curve_min) {
        show_error(interval_text("The interval [%d,%d] of %s has no valid value to edit.", data, target));
        return 1;
    }

    // The spline through the ys, knot i being control point i.
    std::vector<SplineSegment> segments(count);
    std::vector<double> scratch(2 * count);
    natural_spline(ys, count, segments.data(), scratch.data());
    const double step = 1.0 / (target.last_frame - target.first_frame);
    const double span = scale.curve_max - scale.curve_min;
    // A frame the curve leaves as it was keeps its origin; the others were edited.
    SampleOrigin* origins = nullptr;
    const auto write = [&](int frame, double value) {
        double& v = coordinate(samples[frame], target.axis);
        if (v == value) return;
        v = value;
        if (!origins) origins = writable_origins(data, target.mark);
        origins[frame] = SampleOrigin::edit;
    };
    double t = 0;
    int i = 0;
    int f = target.first_frame;
    // Each frame takes the curve at its fraction t of the interval: x locates the segment of the
    // two control points around t, and the segment's cubic is evaluated at the fraction of their
    // x distance that t covers.
    while (i < count && f <= target.last_frame) {
        while (i < count && xs[i] < t) ++i;
        if (i == count) break;
        double y;
        if (xs[i] == t || i == 0) {
            y = ys[i];
        } else {
            const double u = (t - xs[i - 1]) / (xs[i] - xs[i - 1]);
            y = segments[i - 1].at(u);
        }
        write(f, scale.curve_min + span * y);
        ++f;
        t += step;
        if (f == target.last_frame) t = 1.0;
    }
    // Control points that stop short of x = 1 leave the last frames at the last point's height.
    for (; f <= target.last_frame; ++f) write(f, scale.curve_min + span * ys[count - 1]);

    history_append(interval_text("The interval [%d,%d] of %s is edited manually\n", data, target));
    note_samples_changed(data);
    return 0;
}
