// The trail's vertex arrays: a unit cylinder (5 slices) and a unit disk (10 slices, one ring) as
// GLU builds them, turned and sized for each bone of each copy on the CPU, drawn by index.
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

// Shared corners and three indices a triangle, counter-clockwise seen from outside: indexed, the
// renderer transforms each corner once, not once per triangle that meets there.
struct Mesh {
    std::vector<Vec3> points;
    std::vector<GLuint> indices;
};

Vec3 minus(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// Adds a triangle whose front (counter-clockwise) face looks along `outward`, as GL culls it.
void add_facing(Mesh& m, GLuint a, GLuint b, GLuint c, const Vec3& outward) {
    const Vec3 u = minus(m.points[b], m.points[a]), v = minus(m.points[c], m.points[a]);
    const Vec3 n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    if (n[0] * outward[0] + n[1] * outward[1] + n[2] * outward[2] < 0) std::swap(b, c);
    m.indices.insert(m.indices.end(), {a, b, c});
}

// GLU's ring: point i of n at angle 2 pi i / n, x = sin and y = cos.
Vec3 ring_point(int i, int n, double z) {
    const double angle = 2 * 3.14159265358979323846 * i / n;
    return {std::sin(angle), std::cos(angle), z};
}

// Points 0..4 round the base, 5..9 round the top.
const Mesh& unit_body() {
    static const Mesh body = [] {
        Mesh m;
        for (int z = 0; z < 2; ++z) {
            for (int i = 0; i < 5; ++i) m.points.push_back(ring_point(i, 5, z));
        }
        for (GLuint i = 0; i < 5; ++i) {
            const GLuint j = (i + 1) % 5;
            const Vec3 out = {m.points[i][0] + m.points[j][0], m.points[i][1] + m.points[j][1], 0};
            add_facing(m, i, j, i + 5, out);
            add_facing(m, i + 5, j, j + 5, out);
        }
        return m;
    }();
    return body;
}

// Point 0 the centre, 1..10 the rim.
const Mesh& unit_cap() {
    static const Mesh cap = [] {
        Mesh m;
        m.points.push_back({0, 0, 0});
        for (int i = 0; i < 10; ++i) m.points.push_back(ring_point(i, 10, 0));
        for (GLuint i = 0; i < 10; ++i) add_facing(m, 0, 1 + i, 1 + (i + 1) % 10, {0, 0, 1});
        return m;
    }();
    return cap;
}

struct Arrays {
    std::vector<float> positions, normals;
    std::vector<GLubyte> colours;
    std::vector<GLuint> indices;

    void clear() {
        positions.clear();
        normals.clear();
        colours.clear();
        indices.clear();
    }
};

Arrays bodies, caps;

// Adds `unit` turned by `turn`, sized by (r, r, length) and moved to `at`, lifted by `lift` along
// the bone; with `normal` each vertex also gets the turned z axis as its normal.
void place(const Mesh& unit, const Matrix4& turn, const ScenePoint& at, double r, double length, double lift,
           const GLubyte colour[4], Arrays& out, bool normal) {
    const auto first = static_cast<GLuint>(out.positions.size() / 3);
    for (GLuint index : unit.indices) out.indices.push_back(first + index);
    for (const Vec3& p : unit.points) {
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
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(arrays.indices.size()), GL_UNSIGNED_INT, arrays.indices.data());
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
