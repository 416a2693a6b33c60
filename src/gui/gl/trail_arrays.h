// The trail of the bones drawn from two vertex arrays made at each frame (the copies thin and
// fade with the frame shown): every copy's bodies, unlit, in one call, then their end caps, lit,
// in another.
#pragma once

#include <vector>

#include "engine/scene/scene_math.h"

// The bones of the working copy at each copy's frame, radius and alpha, in their colours, as
// draw_bone draws them in the solid mode; GL state as it was found, lighting left on.
void draw_trail_arrays(const std::vector<TrailCopy>& copies);
