// Camera arithmetic, with the matrices built the way glTranslate, glScale, glRotate,
// gluPerspective and glOrtho build them, so tests can check where a point lands.
#include "engine/scene/camera.h"

#include <cmath>

#include "engine/model/capture_model.h"
#include "engine/scene/mark_parts.h"
#include "engine/scene/matrix4.h"

namespace {

struct Centre {
    double x, y, z;
};

Centre centre_of(const ViewBounds& b) {
    return {(b.min_x + b.max_x) / 2, (b.min_y + b.max_y) / 2, (b.min_z + b.max_z) / 2};
}

}  // namespace

float wrap_degrees(float v) { return static_cast<float>(v - std::floor(v / 360.0) * 360.0); }

void reset_camera(CameraState& camera) {
    camera.rot_x = 270.0f;
    camera.rot_y = 0.0f;
    camera.rot_z = 0.0f;
    camera.pan_x = 0.0f;
    camera.pan_y = 0.0f;
}

void camera_press(CameraState& camera, int x, int y) {
    camera.press_rot_x = camera.rot_x;
    camera.press_rot_y = camera.rot_y;
    camera.press_rot_z = camera.rot_z;
    camera.press_pan_x = camera.pan_x;
    camera.press_pan_y = camera.pan_y;
    camera.press_x = x;
    camera.press_y = y;
}

void camera_drag(CameraState& camera, int x, int y, bool button1) {
    const int dx = x - camera.press_x;
    const int dy = y - camera.press_y;
    if (button1) {
        camera.rot_x = wrap_degrees(camera.press_rot_x + ROTATE_DEGREES_PER_PIXEL * dy);
        camera.rot_z = wrap_degrees(camera.press_rot_z + ROTATE_DEGREES_PER_PIXEL * dx);
    } else {
        camera.pan_x = camera.press_pan_x - PAN_PIXELS_PER_PIXEL * dx;
        camera.pan_y = camera.press_pan_y + PAN_PIXELS_PER_PIXEL * dy;
    }
}

void camera_axis_preset(CameraState& camera, char axis) {
    camera.rot_x = axis == 'x' ? 270.0f : 0.0f;
    camera.rot_y = axis == 'y' ? 270.0f : 0.0f;
    camera.rot_z = axis == 'z' ? 270.0f : 0.0f;
    camera.pan_x = 0.0f;
    camera.pan_y = 0.0f;
}

ViewBounds compute_bounds(const CaptureData& data, float scale) {
    const ViewBounds none{99999.0, -99999.0, 99999.0, -99999.0, 99999.0, -99999.0};
    const double factor = 1.0 + scale;
    const auto widen = [factor](double raw, double& low, double& high) {
        if (raw >= 999998.0) return;
        const double v = raw * factor;
        if (v < low) low = v;
        if (v > high) high = v;
    };
    const auto parts = scan_mark_parts(data, none, [&](int first, int end, ViewBounds& b) {
        for (int m = first; m < end; ++m) {
            const Sample* samples = data.channels[m].samples.get();
            if (!samples) continue;
            for (int f = 0; f < data.num_frames; ++f) {
                widen(samples[f].x, b.min_x, b.max_x);
                widen(samples[f].y, b.min_y, b.max_y);
                widen(samples[f].z, b.min_z, b.max_z);
            }
        }
    });
    // Joined as the samples were met, so that of equal values the first still wins.
    ViewBounds b = none;
    const auto join = [](double low, double high, double& into_low, double& into_high) {
        if (low < into_low) into_low = low;
        if (high > into_high) into_high = high;
    };
    for (const ViewBounds& part : parts) {
        join(part.min_x, part.max_x, b.min_x, b.max_x);
        join(part.min_y, part.max_y, b.min_y, b.max_y);
        join(part.min_z, part.max_z, b.min_z, b.max_z);
    }
    return b;
}

Matrix4 projection_matrix(const ProjectionInput& in) {
    const ViewBounds& b = in.bounds;
    const float ex = static_cast<float>(b.max_x - b.min_x);
    const float ey = static_cast<float>(b.max_y - b.min_y);
    const float ez = static_cast<float>(b.max_z - b.min_z);
    const float d = std::sqrt(ex * ex + ey * ey + ez * ez);
    const float dist = 2 * d;
    const float near = dist - d * NEAR_FAR_MARGIN / 2;
    const float far = 2 * (dist + d * NEAR_FAR_MARGIN / 2);
    const double width = in.view_width > 0 ? in.view_width : 1;
    const double height = in.view_height > 0 ? in.view_height : 1;
    const float aspect = static_cast<float>(width / height);

    Matrix4 m = translation(-2 * in.pan_x / width, -2 * in.pan_y / height, 0);
    m = multiply(m, scaling(in.zoom, in.zoom, 1));
    if (in.orthographic) {
        const double h = ey;
        m = multiply(m, orthographic(-h * aspect / 2, h * aspect / 2, -h / 2, h / 2, near, far));
    } else {
        m = multiply(m, perspective(FOVY_DEGREES, aspect, near, far));
    }
    m = multiply(m, translation(0, 0, -dist));
    const Centre c = centre_of(b);
    return multiply(m, translation(-c.x, -c.y, -c.z));
}

Matrix4 modelview_matrix(const ViewBounds& bounds, const CameraState& camera) {
    const Centre c = centre_of(bounds);
    Matrix4 m = translation(c.x, c.y, c.z);
    m = multiply(m, rotation(camera.rot_x, 1, 0, 0));
    m = multiply(m, rotation(camera.rot_y, 0, 1, 0));
    m = multiply(m, rotation(camera.rot_z, 0, 0, 1));
    return multiply(m, translation(-c.x, -c.y, -c.z));
}

std::array<double, 3> project_to_window(const Matrix4& projection, const Matrix4& modelview, int view_width,
                                        int view_height, double x, double y, double z) {
    const Matrix4 both = multiply(projection, modelview);
    const double in[4] = {x, y, z, 1};
    double out[4];
    for (int row = 0; row < 4; ++row) {
        out[row] = 0;
        for (int k = 0; k < 4; ++k) out[row] += both[k * 4 + row] * in[k];
    }
    const double nx = out[0] / out[3], ny = out[1] / out[3], nz = out[2] / out[3];
    return {(nx + 1) / 2 * view_width, (ny + 1) / 2 * view_height, (nz + 1) / 2};
}

int view_width_for(int allocated_width) { return allocated_width - allocated_width % 4; }
