// Which axis of a capture points up on screen, and which to the right: C3D files say so in
// POINT:Y_SCREEN and POINT:X_SCREEN ("+Z", "-Y", ...); other captures stand on Z.
#pragma once

#include <string>

#include "engine/model/capture_model.h"
#include "engine/scene/camera.h"
#include "engine/scene/matrix4.h"

struct UpAxis {
    int up = 2;  // 0 x, 1 y, 2 z
    int up_sign = 1;
    int right = 0;
    int right_sign = 1;
    bool right_given = false;  // the file named the axis to the right
};

// From the two screen texts; an unreadable text, or two that name the same axis, give way to
// the default (Z up, X to the right, or the first axis across the up one).
UpAxis up_axis_from_screen(const std::string& x_screen, const std::string& y_screen);
// The capture's own: a C3D layer's screen parameters, Z up for every other capture; one that
// does not name its right axis is seen from the side.
UpAxis capture_up_axis(const CaptureData& data);
// The same with the capture's extent (capture_extent) already known.
UpAxis capture_up_axis(const CaptureData& data, const ViewBounds& extent);
// Seen from the side: the longer of the two level axes of `extent` goes to the right.
UpAxis side_on(const UpAxis& up, const ViewBounds& extent);
// The user's choice of up axis (0 x, 1 y, 2 z): the file's own when it names the same axis,
// otherwise that axis pointing up, seen from the side of `extent`.
UpAxis chosen_up_axis(int axis, const UpAxis& file, const ViewBounds& extent);
// The turn that puts the up axis on +Z and the right axis on +X (the view's own standing).
Matrix4 up_rotation(const UpAxis& up);
