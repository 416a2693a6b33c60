// The camera of the 3-D view and the arithmetic of its matrices: rotation and pan from mouse
// drags, the extent of the current layer's data, and the projection and modelview that frame it.
#pragma once

#include <array>

#include "engine/scene/matrix4.h"

struct CaptureData;

constexpr float FOVY_DEGREES = 15.0f;
constexpr float ROTATE_DEGREES_PER_PIXEL = 0.5f;
constexpr float PAN_PIXELS_PER_PIXEL = 1.0f;
constexpr float NEAR_FAR_MARGIN = 1.00001f;

struct CameraState {
    float rot_x = 270.0f;
    float rot_y = 0.0f;
    float rot_z = 0.0f;
    float pan_x = 0.0f;
    float pan_y = 0.0f;
    int press_x = 0;
    int press_y = 0;
    float press_rot_x = 0.0f;
    float press_rot_y = 0.0f;
    float press_rot_z = 0.0f;
    float press_pan_x = 0.0f;
    float press_pan_y = 0.0f;
};

struct ViewBounds {
    double min_x = 0, max_x = 0;
    double min_y = 0, max_y = 0;
    double min_z = 0, max_z = 0;
};

// v - floor(v / 360) * 360: an angle in [0, 360).
float wrap_degrees(float v);

void reset_camera(CameraState& camera);
// The camera remembers itself and the pointer when a button is pressed.
void camera_press(CameraState& camera, int x, int y);
// A drag to (x, y): with button 1 it rotates, with anything else held it pans.
void camera_drag(CameraState& camera, int x, int y, bool button1);
// The axis presets: 'x' (270, 0, 0), 'y' (0, 270, 0), 'z' (0, 0, 270), each with no pan.
void camera_axis_preset(CameraState& camera, char axis);

// The extent of the capture's valid coordinates, each multiplied by (1 + scale); an axis without
// any valid coordinate keeps -99999 / 99999.
ViewBounds compute_bounds(const CaptureData& data, float scale);

struct ProjectionInput {
    ViewBounds bounds;
    float pan_x, pan_y;
    int view_width, view_height;
    double zoom;
    bool orthographic;
};

// The projection matrix of the view: pan in pixels after projection, zoom, perspective (or
// orthographic) framing of the bounds at twice their diagonal.
Matrix4 projection_matrix(const ProjectionInput& in);
// The modelview matrix: the data turn about the centre of their bounds.
Matrix4 modelview_matrix(const ViewBounds& bounds, const CameraState& camera);

// Where a scene point lands in window pixels (origin at the bottom left), as OpenGL would put it.
std::array<double, 3> project_to_window(const Matrix4& projection, const Matrix4& modelview, int view_width,
                                        int view_height, double x, double y, double z);

// A view width made a multiple of 4 (rounded down), as recorded frames need.
int view_width_for(int allocated_width);
