// How big a capture is: the box of its valid samples (all frames, or the marks of one frame)
// and the sizes of marks, bones and arrows that suit it, whatever its units.
#pragma once

#include "engine/model/capture_model.h"
#include "engine/scene/camera.h"
#include "engine/scene/scene_math.h"

// An empty box has every minimum above its maximum.
ViewBounds empty_extent();
bool extent_empty(const ViewBounds& box);
double largest_side(const ViewBounds& box);

// The box of every valid sample of every frame (raw coordinates).
ViewBounds capture_extent(const CaptureData& data);
// The box of the visible marks' valid samples at one frame, where the placement puts them.
ViewBounds frame_extent(const CaptureData& data, int frame, const LayerPlacement& placement);
// The centre of those samples (the centroid); false when there is none.
bool frame_centroid(const CaptureData& data, int frame, const LayerPlacement& placement, ScenePoint& centre);

struct SceneSizes {
    double mark, bone, velocity, acceleration;
};
// Radii in proportion to the largest side of the box: a mark 0.6 % of it, the rest in the
// proportions of the built-in sizes (mark 1.8, bone 1.0, arrows 0.5). An empty box keeps those.
SceneSizes default_sizes(const ViewBounds& box);

// How a spin shows a size: digits enough for three significant ones, a step of one unit in the
// last digit, and an upper bound that leaves room to grow.
struct SizeSpin {
    int digits;
    double step;
    double upper;
};
SizeSpin size_spin_for(double value);
