// The bones of the frame shown, or of a trail's copies (they thin and fade with the frame shown),
// drawn from two vertex arrays made at each frame: every copy's bodies in one call, then their
// end caps, lit, in another.
#pragma once

#include <vector>

#include "engine/scene/scene_math.h"

// The bones of the working copy at each copy's frame, radius and alpha, in their colours, as
// draw_bone draws them filled: the bodies lit when `lit_bodies` (the detailed mode), unlit
// otherwise (the solid mode). GL state as it was found, lighting left on.
void draw_bone_arrays(const std::vector<TrailCopy>& copies, bool lit_bodies);
