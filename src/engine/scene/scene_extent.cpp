// The extent of a capture and the sizes that follow from it.
#include "engine/scene/scene_extent.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/mark_parts.h"

namespace {

constexpr double MARK_SHARE = 0.006;  // a mark's radius against the largest side
constexpr double BUILT_IN_MARK = 1.8, BUILT_IN_BONE = 1.0, BUILT_IN_ARROW = 0.5;

void widen(ViewBounds& b, double x, double y, double z) {
    b.min_x = std::min(b.min_x, x);
    b.max_x = std::max(b.max_x, x);
    b.min_y = std::min(b.min_y, y);
    b.max_y = std::max(b.max_y, y);
    b.min_z = std::min(b.min_z, z);
    b.max_z = std::max(b.max_z, z);
}

bool valid(const Sample& s) { return !is_lost(s.x) && !is_lost(s.y) && !is_lost(s.z); }

// Calls visit(scene point) for each visible mark whose sample at `frame` is valid.
template <class Visit>
void each_valid_mark(const CaptureData& data, int frame, const LayerPlacement& placement, Visit visit) {
    if (frame < 0 || frame >= data.num_frames) return;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        if (!samples || !data.mark_styles[m].visible || !valid(samples[frame])) continue;
        visit(scene_position(samples[frame], placement));
    }
}

}  // namespace

ViewBounds empty_extent() { return {1e300, -1e300, 1e300, -1e300, 1e300, -1e300}; }

bool extent_empty(const ViewBounds& b) { return b.min_x > b.max_x || b.min_y > b.max_y || b.min_z > b.max_z; }

double largest_side(const ViewBounds& b) {
    if (extent_empty(b)) return 0;
    return std::max({b.max_x - b.min_x, b.max_y - b.min_y, b.max_z - b.min_z});
}

ViewBounds capture_extent(const CaptureData& data) {
    const auto parts = scan_mark_parts(data, empty_extent(), [&](int first, int end, ViewBounds& b) {
        for (int m = first; m < end; ++m) {
            const Sample* samples = data.channels[m].samples.get();
            if (!samples) continue;
            for (int f = 0; f < data.num_frames; ++f) {
                if (valid(samples[f])) widen(b, samples[f].x, samples[f].y, samples[f].z);
            }
        }
    });
    ViewBounds b = empty_extent();
    for (const ViewBounds& part : parts) {
        b.min_x = std::min(b.min_x, part.min_x);
        b.max_x = std::max(b.max_x, part.max_x);
        b.min_y = std::min(b.min_y, part.min_y);
        b.max_y = std::max(b.max_y, part.max_y);
        b.min_z = std::min(b.min_z, part.min_z);
        b.max_z = std::max(b.max_z, part.max_z);
    }
    return b;
}

ViewBounds frame_extent(const CaptureData& data, int frame, const LayerPlacement& placement) {
    ViewBounds b = empty_extent();
    each_valid_mark(data, frame, placement, [&](const ScenePoint& p) { widen(b, p.x, p.y, p.z); });
    return b;
}

bool frame_centroid(const CaptureData& data, int frame, const LayerPlacement& placement, ScenePoint& centre) {
    ScenePoint sum{0, 0, 0};
    int count = 0;
    each_valid_mark(data, frame, placement, [&](const ScenePoint& p) {
        sum.x += p.x;
        sum.y += p.y;
        sum.z += p.z;
        ++count;
    });
    if (count == 0) return false;
    centre = {sum.x / count, sum.y / count, sum.z / count};
    return true;
}

SceneSizes default_sizes(const ViewBounds& box) {
    const double side = largest_side(box);
    const double mark = side > 0 ? side * MARK_SHARE : BUILT_IN_MARK;
    const double arrow = mark * BUILT_IN_ARROW / BUILT_IN_MARK;
    return {mark, mark * BUILT_IN_BONE / BUILT_IN_MARK, arrow, arrow};
}

SizeSpin size_spin_for(double value) {
    int digits = 1;
    if (value > 0) digits = std::clamp(3 - static_cast<int>(std::floor(std::log10(value))) - 1, 1, 6);
    const double step = std::pow(10.0, -digits);
    return {digits, step, std::max(40.0, std::ceil(value * 20))};
}
