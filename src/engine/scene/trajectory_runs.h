// A trajectory as the view draws it: the unbroken stretches of a mark's path over a frame
// interval, split where measured samples give way to computed ones, and thinned to what the screen
// can show.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"
#include "engine/scene/matrix4.h"

// Where the raw coordinates land on screen: `clip` maps them to clip space (projection,
// modelview and the layer's placement), `width` and `height` are the viewport's.
struct ScreenMapping {
    Matrix4 clip{};
    int width = 0;
    int height = 0;
    bool operator==(const ScreenMapping&) const = default;
};

// Line strips over one vertex array of raw coordinates (x, y, z as floats). A segment is computed
// when either of its samples is; the strips of each kind are drawn in one call.
struct TrajectoryRuns {
    std::vector<float> vertices;
    std::vector<int> measured_first, measured_count;
    std::vector<int> computed_first, computed_count;

    void clear();
    int vertex_count() const { return static_cast<int>(vertices.size() / 3); }
};

// The strips of `samples` (with `origins`, or all measured when null) from frame `first` to
// `last`, clamped to the last of `num_frames` frames; lost samples break the path. With a mapping,
// a vertex closer than a pixel on screen to the one kept before it is left out, except the ends of
// each strip.
void build_trajectory_runs(const Sample* samples, const SampleOrigin* origins, int num_frames, int first, int last,
                           const ScreenMapping* mapping, TrajectoryRuns& runs);
