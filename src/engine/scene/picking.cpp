// Picking a mark by projecting the marks the way they are drawn.
#include "engine/scene/picking.h"

#include <algorithm>
#include <cmath>

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
        // Of overlapping marks the one in front wins, then the closest to the pointer.
        if (best.mark < 0 || at[2] < best.depth - 1e-9 || (std::abs(at[2] - best.depth) <= 1e-9 && pixels < best.pixels)) {
            best = {m, pixels, at[2]};
        }
    }
    return best;
}
