// The state of the 3-D view kept between redraws: the camera, the extent of the current layer's
// data, the size of the drawing area, and the placement of the layer drawn last.
#pragma once

#include "engine/scene/camera.h"
#include "engine/scene/scene_math.h"

struct ViewState {
    CameraState camera;
    ViewBounds bounds;  // zero until a file is opened
    int view_width = 0;
    int view_height = 0;
    ViewTransform transform;
};

extern ViewState view;

// The bounds of the current layer's data at the scale of the placement in effect.
void compute_view_bounds();
