// Trajectories drawn from vertex arrays kept between frames: rebuilt only when the samples, the
// frame interval or the view change, and drawn with one call for the measured stretches and one,
// dashed, for the computed ones.
#pragma once

#include "engine/scene/trajectory_runs.h"

// Mark `mark` of layer `layer` (held in the working copy) from frame `first` to `last`, in the
// current colour and line width. The modelview places raw coordinates (the layer's offset and
// scale included); `mapping` is where that modelview and the projection put them on screen.
void draw_kept_trajectory(int layer, int mark, int first, int last, const ScreenMapping& mapping);

// The kept strips of that trajectory, built first when they are not kept; null for an empty mark.
const TrajectoryRuns* kept_trajectory_runs(int layer, int mark, int first, int last, const ScreenMapping& mapping);

// Strips built by the caller, drawn the same way.
void draw_trajectory_runs(const TrajectoryRuns& runs);
