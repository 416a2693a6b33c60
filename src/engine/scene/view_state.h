// The state of the 3-D view kept between redraws: the camera, the extent of the current layer's
// data, the size of the drawing area, and the placement of the layer drawn last.
#pragma once

#include "engine/scene/camera.h"
#include "engine/scene/scene_math.h"
#include "engine/scene/view_framing.h"

struct ViewState {
    CameraState camera;
    ViewBounds bounds;  // zero until a file is opened
    int view_width = 0;
    int view_height = 0;
    ViewTransform transform;
    ViewFraming framing;  // set when a capture is opened or framed
};

extern ViewState view;

// The bounds of the current layer's data at the scale of the placement in effect.
void compute_view_bounds();

// The matrices the view is drawn (and picked) with: framed once a capture has been framed,
// otherwise from the bounds alone.
ViewMatrices view_matrices(double zoom, bool orthographic);
