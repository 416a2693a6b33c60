// Where the camera looks from: the centre it turns about and its distance, chosen so a box of
// samples fills the view, and the two matrices that drawing and picking share.
#pragma once

#include "engine/scene/camera.h"
#include "engine/scene/scene_math.h"
#include "engine/scene/up_axis.h"

struct ViewFraming {
    ScenePoint centre{0, 0, 0};
    double distance = 0;  // 0: not framed yet
    double reach = 1;     // how far the data reach from the centre (sets the clipping planes)
    UpAxis up;
};

// The share of the view's height (or width) that a framed box takes at zoom 1.
constexpr double FRAME_FILL = 0.9;

// The camera at its present angles, centred on `box`, as close as lets every corner of the
// box fit the view; `whole` (the capture's extent) keeps inside the clipping planes.
ViewFraming frame_box(const ViewBounds& box, const ViewBounds& whole, const CameraState& camera, const UpAxis& up,
                      double aspect);
// The same distance and angles about a new centre.
ViewFraming recentred(const ViewFraming& framing, const ViewBounds& whole, const ScenePoint& centre);

struct ViewMatrices {
    Matrix4 projection;
    Matrix4 modelview;
    int width, height;
};

// The projection (pan in pixels after projection, zoom, perspective of FOVY_DEGREES or an
// orthographic box as tall as the perspective's view at the centre) and the modelview (the data
// stood on their up axis and turned about the centre by the camera).
ViewMatrices framed_matrices(const ViewFraming& framing, const CameraState& camera, int view_width, int view_height,
                             double zoom, bool orthographic);

// Where a scene point lands in window pixels (origin at the bottom left) and its depth in 0..1.
std::array<double, 3> project_point(const ViewMatrices& m, const ScenePoint& p);
// The radius in pixels of a sphere of `radius` at p.
double projected_radius(const ViewMatrices& m, const ScenePoint& p, double radius);
