// Framing a box of samples and the matrices of the framed view.
#include "engine/scene/view_framing.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/scene_extent.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// The camera's turn of the data without translation: the up axis stood on Z, then the angles.
Matrix4 turn(const CameraState& camera, const UpAxis& up) {
    Matrix4 m = rotation(camera.rot_x, 1, 0, 0);
    m = multiply(m, rotation(camera.rot_y, 0, 1, 0));
    m = multiply(m, rotation(camera.rot_z, 0, 0, 1));
    return multiply(m, up_rotation(up));
}

template <class Visit>
void each_corner(const ViewBounds& b, Visit visit) {
    for (int i = 0; i < 8; ++i) {
        visit(ScenePoint{i & 1 ? b.max_x : b.min_x, i & 2 ? b.max_y : b.min_y, i & 4 ? b.max_z : b.min_z});
    }
}

double reach_from(const ScenePoint& c, const ViewBounds& whole, const ViewBounds& box) {
    double reach = 0;
    const auto farthest = [&](const ScenePoint& p) {
        reach = std::max(reach, std::sqrt((p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y) + (p.z - c.z) * (p.z - c.z)));
    };
    if (!extent_empty(whole)) each_corner(whole, farthest);
    if (!extent_empty(box)) each_corner(box, farthest);
    return reach > 0 ? reach : 1;
}

}  // namespace

ViewFraming frame_box(const ViewBounds& box_in, const ViewBounds& whole, const CameraState& camera, const UpAxis& up,
                      double aspect) {
    ViewFraming framing;
    framing.up = up;
    ViewBounds box = extent_empty(box_in) ? whole : box_in;
    if (extent_empty(box)) {
        framing.distance = 1;
        return framing;
    }
    // A box of one point, or a flat one, is framed as a box a twentieth of the capture wide.
    const double least = std::max(largest_side(whole) / 20, largest_side(box) / 20);
    const double grow = least > 0 ? least / 2 : 0.5;
    if (box.max_x - box.min_x < least) box.min_x -= grow, box.max_x += grow;
    if (box.max_y - box.min_y < least) box.min_y -= grow, box.max_y += grow;
    if (box.max_z - box.min_z < least) box.min_z -= grow, box.max_z += grow;
    framing.centre = {(box.min_x + box.max_x) / 2, (box.min_y + box.max_y) / 2, (box.min_z + box.max_z) / 2};
    const Matrix4 m = turn(camera, up);
    const double t = std::tan(FOVY_DEGREES * PI / 360.0) * FRAME_FILL;
    double distance = 0;
    each_corner(box, [&](const ScenePoint& p) {
        const auto q = transform(m, p.x - framing.centre.x, p.y - framing.centre.y, p.z - framing.centre.z);
        // The eye looks down -z from (0, 0, distance): the corner must lie inside the cone.
        distance = std::max({distance, q[2] + std::abs(q[1]) / t, q[2] + std::abs(q[0]) / (t * aspect)});
    });
    framing.distance = distance > 0 ? distance : 1;
    framing.reach = reach_from(framing.centre, whole, box);
    return framing;
}

ViewFraming recentred(const ViewFraming& framing, const ViewBounds& whole, const ScenePoint& centre) {
    ViewFraming moved = framing;
    moved.centre = centre;
    moved.reach = reach_from(centre, whole, empty_extent());
    return moved;
}

ViewMatrices framed_matrices(const ViewFraming& framing, const CameraState& camera, int view_width, int view_height,
                             double zoom, bool orthographic_view) {
    const double width = view_width > 0 ? view_width : 1;
    const double height = view_height > 0 ? view_height : 1;
    const double aspect = width / height;
    const double dist = framing.distance > 0 ? framing.distance : 1;
    const double near = std::max(dist - framing.reach * 1.01, dist / 1000);
    const double far = dist + framing.reach * 1.01;
    const ScenePoint& c = framing.centre;

    Matrix4 p = translation(-2 * camera.pan_x / width, -2 * camera.pan_y / height, 0);
    p = multiply(p, scaling(zoom, zoom, 1));
    if (orthographic_view) {
        const double h = 2 * dist * std::tan(FOVY_DEGREES * PI / 360.0);
        p = multiply(p, orthographic(-h * aspect / 2, h * aspect / 2, -h / 2, h / 2, near, far));
    } else {
        p = multiply(p, perspective(FOVY_DEGREES, aspect, near, far));
    }
    p = multiply(p, translation(0, 0, -dist));
    p = multiply(p, translation(-c.x, -c.y, -c.z));

    Matrix4 mv = translation(c.x, c.y, c.z);
    mv = multiply(mv, turn(camera, framing.up));
    mv = multiply(mv, translation(-c.x, -c.y, -c.z));
    return {p, mv, view_width, view_height};
}

std::array<double, 3> project_point(const ViewMatrices& m, const ScenePoint& p) {
    return project_to_window(m.projection, m.modelview, m.width, m.height, p.x, p.y, p.z);
}

double projected_radius(const ViewMatrices& m, const ScenePoint& p, double radius) {
    // Offset the point sideways in eye space, where the sphere's outline lies.
    const auto eye = transform(m.modelview, p.x, p.y, p.z);
    const auto a = transform(m.projection, eye[0], eye[1], eye[2], eye[3]);
    const auto b = transform(m.projection, eye[0] + radius, eye[1], eye[2], eye[3]);
    if (a[3] == 0 || b[3] == 0) return 0;
    return std::abs(b[0] / b[3] - a[0] / a[3]) / 2 * m.width;
}
