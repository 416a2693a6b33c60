// The trail's vertex arrays: a unit cylinder (5 slices) and a unit disk (10 slices, one ring) as
// GLU builds them, turned and sized for each bone of each copy on the CPU.
#include "gui/gl/trail_arrays.h"

#include <GL/gl.h>

#include <array>
#include <cmath>

#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "engine/scene/matrix4.h"
#include "engine/scene/view_state.h"

namespace {

using Vec3 = std::array<double, 3>;

struct Triangles {
    std::vector<Vec3> corners;  // three per triangle, counter-clockwise seen from outside
};

Vec3 minus(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// Adds a triangle whose front (counter-clockwise) face looks along `outward`, as GL culls it.
void add_facing(Triangles& t, const Vec3& a, Vec3 b, Vec3 c, const Vec3& outward) {
    const Vec3 u = minus(b, a), v = minus(c, a);
    const Vec3 n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    if (n[0] * outward[0] + n[1] * outward[1] + n[2] * outward[2] < 0) std::swap(b, c);
    t.corners.insert(t.corners.end(), {a, b, c});
}

// GLU's ring: point i of n at angle 2 pi i / n, x = sin and y = cos.
Vec3 ring_point(int i, int n, double z) {
    const double angle = 2 * 3.14159265358979323846 * i / n;
    return {std::sin(angle), std::cos(angle), z};
}

const Triangles& unit_body() {
    static const Triangles body = [] {
        Triangles t;
        for (int i = 0; i < 5; ++i) {
            const Vec3 a0 = ring_point(i, 5, 0), a1 = ring_point(i, 5, 1);
            const Vec3 b0 = ring_point(i + 1, 5, 0), b1 = ring_point(i + 1, 5, 1);
            const Vec3 out = {a0[0] + b0[0], a0[1] + b0[1], 0};
            add_facing(t, a0, b0, a1, out);
            add_facing(t, a1, b0, b1, out);
        }
        return t;
    }();
    return body;
}

const Triangles& unit_cap() {
    static const Triangles cap = [] {
        Triangles t;
        for (int i = 0; i < 10; ++i) add_facing(t, {0, 0, 0}, ring_point(i, 10, 0), ring_point(i + 1, 10, 0), {0, 0, 1});
        return t;
    }();
    return cap;
}

struct Arrays {
    std::vector<float> positions, normals;
    std::vector<GLubyte> colours;

    void clear() {
        positions.clear();
        normals.clear();
        colours.clear();
    }
};

Arrays bodies, caps;

// Adds `unit` turned by `turn`, sized by (r, r, length) and moved to `at`, lifted by `lift` along
// the bone; with `normal` each vertex also gets the turned z axis as its normal.
void place(const Triangles& unit, const Matrix4& turn, const ScenePoint& at, double r, double length, double lift,
           const GLubyte colour[4], Arrays& out, bool normal) {
    for (const Vec3& p : unit.corners) {
        const std::array<double, 4> q = transform(turn, r * p[0], r * p[1], length * p[2] + lift);
        out.positions.insert(out.positions.end(), {static_cast<float>(at.x + q[0]), static_cast<float>(at.y + q[1]),
                                                   static_cast<float>(at.z + q[2])});
        out.colours.insert(out.colours.end(), colour, colour + 4);
        if (normal) {
            out.normals.insert(out.normals.end(),
                               {static_cast<float>(turn[8]), static_cast<float>(turn[9]), static_cast<float>(turn[10])});
        }
    }
}

void add_bone(const Bone& bone, const TrailCopy& copy) {
    const int frame = clamp_frame(copy.frame, app.num_frames);
    const ScenePoint a = scene_position(app.channels[bone.origin].samples[frame], view.transform);
    const ScenePoint b = scene_position(app.channels[bone.destination].samples[frame], view.transform);
    if (scene_point_lost(a, view.transform) || scene_point_lost(b, view.transform) || copy.radius <= 0) return;
    const SegmentFrame f = segment_frame(a, b);
    const Matrix4 turn = rotation(f.angle_degrees, f.axis_x, f.axis_y, 0);
    const ColourEntry& c = bone.colour >= 0 && bone.colour < COLOUR_COUNT ? ColourTable[bone.colour] : ColourTable[13];
    const GLubyte colour[4] = {static_cast<GLubyte>(c.red), static_cast<GLubyte>(c.green), static_cast<GLubyte>(c.blue),
                               static_cast<GLubyte>(copy.alpha)};
    place(unit_body(), turn, a, copy.radius, f.length, 0, colour, bodies, false);
    place(unit_cap(), turn, a, copy.radius, 1, 0, colour, caps, true);
    place(unit_cap(), turn, a, copy.radius, 1, f.length, colour, caps, true);
}

void draw(const Arrays& arrays) {
    if (arrays.positions.empty()) return;
    glVertexPointer(3, GL_FLOAT, 0, arrays.positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, arrays.colours.data());
    if (!arrays.normals.empty()) glNormalPointer(GL_FLOAT, 0, arrays.normals.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(arrays.positions.size() / 3));
}

}  // namespace

void draw_trail_arrays(const std::vector<TrailCopy>& copies) {
    bodies.clear();
    caps.clear();
    for (const TrailCopy& copy : copies) {
        for (int i = 0; i < app.bone_count; ++i) {
            if (bone_drawable(app, app.bones[i])) add_bone(app.bones[i], copy);
        }
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDisable(GL_LIGHTING);
    draw(bodies);
    glEnable(GL_LIGHTING);
    glEnableClientState(GL_NORMAL_ARRAY);
    draw(caps);
    glPopClientAttrib();
}
