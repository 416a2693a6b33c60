// Cutting a mark's path into the strips the view draws, thinned to one vertex per pixel.
#include "engine/scene/trajectory_runs.h"

#include <cmath>

#include "engine/model/limits.h"

namespace {

struct WindowPoint {
    double x, y;
    bool valid;  // false behind the eye, where no distance on screen is meant
};

WindowPoint to_window(const ScreenMapping& mapping, const Sample& s) {
    const std::array<double, 4> c = transform(mapping.clip, s.x, s.y, s.z);
    if (c[3] <= 0) return {0, 0, false};
    return {(c[0] / c[3] + 1) / 2 * mapping.width, (c[1] / c[3] + 1) / 2 * mapping.height, true};
}

// Grows one strip at a time; a vertex seen but not yet kept waits in `pending` so the strip can
// still end on it.
class RunBuilder {
public:
    RunBuilder(const Sample* samples, const ScreenMapping* mapping, TrajectoryRuns& runs)
        : samples_(samples), mapping_(mapping), runs_(runs) {}

    void add(int frame, bool computed_segment) {
        if (start_ < 0) {
            begin(frame);
            return;
        }
        if (count() >= 2 && computed_segment != computed_) {
            flush_pending();
            const int last_frame = last_frame_;
            end();
            begin(last_frame);
        }
        computed_ = computed_segment;
        if (near_last(frame)) {
            pending_ = frame;
        } else {
            keep(frame);
        }
    }

    void end() {
        if (start_ < 0) return;
        flush_pending();
        if (count() >= 2) {
            (computed_ ? runs_.computed_first : runs_.measured_first).push_back(start_);
            (computed_ ? runs_.computed_count : runs_.measured_count).push_back(count());
        } else {
            runs_.vertices.resize(static_cast<size_t>(start_) * 3);
        }
        start_ = -1;
    }

private:
    int count() const { return runs_.vertex_count() - start_; }

    void begin(int frame) {
        start_ = runs_.vertex_count();
        computed_ = false;
        pending_ = -1;
        keep(frame);
    }

    void keep(int frame) {
        const Sample& s = samples_[frame];
        runs_.vertices.insert(runs_.vertices.end(),
                              {static_cast<float>(s.x), static_cast<float>(s.y), static_cast<float>(s.z)});
        last_frame_ = frame;
        pending_ = -1;
        if (mapping_) last_point_ = to_window(*mapping_, s);
    }

    void flush_pending() {
        if (pending_ >= 0) keep(pending_);
    }

    bool near_last(int frame) const {
        if (!mapping_ || !last_point_.valid) return false;
        const WindowPoint p = to_window(*mapping_, samples_[frame]);
        return p.valid && std::abs(p.x - last_point_.x) < 1 && std::abs(p.y - last_point_.y) < 1;
    }

    const Sample* samples_;
    const ScreenMapping* mapping_;
    TrajectoryRuns& runs_;
    int start_ = -1;
    bool computed_ = false;
    int last_frame_ = -1;
    int pending_ = -1;
    WindowPoint last_point_{0, 0, false};
};

}  // namespace

void TrajectoryRuns::clear() {
    vertices.clear();
    measured_first.clear();
    measured_count.clear();
    computed_first.clear();
    computed_count.clear();
}

void build_trajectory_runs(const Sample* samples, const SampleOrigin* origins, int num_frames, int first, int last,
                           const ScreenMapping* mapping, TrajectoryRuns& runs) {
    runs.clear();
    if (first >= num_frames) first = num_frames - 1;
    if (last >= num_frames) last = num_frames - 1;
    const auto computed = [&](int k) { return origins && origins[k] != SampleOrigin::measured; };
    RunBuilder builder(samples, mapping, runs);
    for (int k = first; k <= last && k >= 0; ++k) {
        if (is_lost(samples[k].x)) {
            builder.end();
            continue;
        }
        builder.add(k, computed(k) || (k > first && computed(k - 1)));
    }
    builder.end();
}
