// Picking a mark by projecting the marks the way they are drawn.
#include "engine/scene/picking.h"

#include <algorithm>
#include <cmath>

namespace {

// Of overlapping marks the one in front wins, then the closest to the pointer.
bool before(const Pick& candidate, const Pick& best) {
    if (best.mark < 0) return true;
    if (std::abs(candidate.depth - best.depth) > 1e-9) return candidate.depth < best.depth;
    return candidate.pixels < best.pixels;
}

}  // namespace

Pick pick_mark(const CaptureData& data, int frame, const LayerPlacement& placement, const ViewMatrices& matrices,
               double mark_radius, double x, double y) {
    Pick best;
    if (frame < 0 || frame >= data.num_frames) return best;
    const double window_y = matrices.height - y;  // OpenGL counts rows from the bottom
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        if (!samples || !data.mark_styles[m].visible) continue;
        const Sample& s = samples[frame];
        if (is_lost(s.x) || is_lost(s.y) || is_lost(s.z)) continue;
        const ScenePoint p = scene_position(s, placement);
        const auto at = project_point(matrices, p);
        if (at[2] < 0 || at[2] > 1) continue;  // outside the clipping planes
        const double reach = std::max(PICK_MIN_PIXELS, projected_radius(matrices, p, mark_radius));
        const double pixels = std::hypot(at[0] - x, at[1] - window_y);
        if (pixels > reach) continue;
        const Pick candidate{m, pixels, at[2]};
        if (before(candidate, best)) best = candidate;
    }
    return best;
}

LayerPick pick_mark_in_layers(const std::vector<DrawnLayer>& layers, const ViewMatrices& matrices, double mark_radius,
                              double x, double y) {
    LayerPick best;
    for (const DrawnLayer& layer : layers) {
        if (!layer.data) continue;
        const Pick pick = pick_mark(*layer.data, layer.frame, layer.placement, matrices, mark_radius, x, y);
        if (pick.mark >= 0 && before(pick, best)) {
            static_cast<Pick&>(best) = pick;
            best.slot = layer.slot;
        }
    }
    return best;
}
