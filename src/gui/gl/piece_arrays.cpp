#include "gui/gl/piece_arrays.h"

#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

Vec3 minus(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// Adds a triangle whose front (counter-clockwise) face looks along `outward`, as GL culls it.
void add_facing(UnitMesh& m, GLuint a, GLuint b, GLuint c, const Vec3& outward) {
    const Vec3 u = minus(m.points[b], m.points[a]), v = minus(m.points[c], m.points[a]);
    const Vec3 n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    if (n[0] * outward[0] + n[1] * outward[1] + n[2] * outward[2] < 0) std::swap(b, c);
    m.indices.insert(m.indices.end(), {a, b, c});
}

// GLU's rings: point i of n at angle 2 pi i / n, x = sin and y = cos.
double ring_x(int i, int n) { return std::sin(2 * PI * i / n); }
double ring_y(int i, int n) { return std::cos(2 * PI * i / n); }

}  // namespace

// Stack 0 is the pole at +z, stack 5 the pole at -z; the rings between have 5 points each, and
// every point's normal is its own direction (GLU's smooth normals).
const UnitMesh& unit_sphere_mesh() {
    static const UnitMesh sphere = [] {
        constexpr int SLICES = 5, STACKS = 5;
        UnitMesh m;
        m.points.push_back({0, 0, 1});
        for (int j = 1; j < STACKS; ++j) {
            const double rho = PI * j / STACKS;
            for (int i = 0; i < SLICES; ++i) {
                m.points.push_back({std::sin(rho) * ring_x(i, SLICES), std::sin(rho) * ring_y(i, SLICES), std::cos(rho)});
            }
        }
        m.points.push_back({0, 0, -1});
        m.normals = m.points;
        const auto at = [](int ring, int i) { return static_cast<GLuint>(1 + ring * SLICES + i % SLICES); };
        const auto mid = [&](GLuint a, GLuint b, GLuint c) {
            const Vec3 &p = m.points[a], &q = m.points[b], &r = m.points[c];
            return Vec3{p[0] + q[0] + r[0], p[1] + q[1] + r[1], p[2] + q[2] + r[2]};
        };
        const auto triangle = [&](GLuint a, GLuint b, GLuint c) { add_facing(m, a, b, c, mid(a, b, c)); };
        const GLuint bottom = static_cast<GLuint>(m.points.size() - 1);
        for (int i = 0; i < SLICES; ++i) {
            triangle(0, at(0, i), at(0, i + 1));
            for (int ring = 0; ring + 1 < STACKS - 1; ++ring) {
                triangle(at(ring, i), at(ring + 1, i), at(ring, i + 1));
                triangle(at(ring, i + 1), at(ring + 1, i), at(ring + 1, i + 1));
            }
            triangle(bottom, at(STACKS - 2, i + 1), at(STACKS - 2, i));
        }
        return m;
    }();
    return sphere;
}

// Points 0..4 round the base, 5..9 round the top; normals point straight out.
const UnitMesh& unit_body_mesh() {
    static const UnitMesh body = [] {
        UnitMesh m;
        for (int z = 0; z < 2; ++z) {
            for (int i = 0; i < 5; ++i) {
                m.points.push_back({ring_x(i, 5), ring_y(i, 5), static_cast<double>(z)});
                m.normals.push_back({ring_x(i, 5), ring_y(i, 5), 0});
            }
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

// Point 0 the centre, 1..10 the rim, all facing +z.
const UnitMesh& unit_cap_mesh() {
    static const UnitMesh cap = [] {
        UnitMesh m;
        m.points.push_back({0, 0, 0});
        for (int i = 0; i < 10; ++i) m.points.push_back({ring_x(i, 10), ring_y(i, 10), 0});
        m.normals.assign(m.points.size(), {0, 0, 1});
        for (GLuint i = 0; i < 10; ++i) add_facing(m, 0, 1 + i, 1 + (i + 1) % 10, {0, 0, 1});
        return m;
    }();
    return cap;
}

void PieceArrays::clear() {
    positions.clear();
    normals.clear();
    colours.clear();
    indices.clear();
}

void PieceArrays::place(const UnitMesh& unit, const Matrix4& turn, const ScenePoint& at, const Vec3& size, double lift,
                        const GLubyte colour[4], bool lit) {
    const auto first = static_cast<GLuint>(positions.size() / 3);
    for (GLuint index : unit.indices) indices.push_back(first + index);
    for (size_t k = 0; k < unit.points.size(); ++k) {
        const Vec3& p = unit.points[k];
        const std::array<double, 4> q = transform(turn, size[0] * p[0], size[1] * p[1], size[2] * p[2] + lift);
        positions.insert(positions.end(), {static_cast<float>(at.x + q[0]), static_cast<float>(at.y + q[1]),
                                           static_cast<float>(at.z + q[2])});
        colours.insert(colours.end(), colour, colour + 4);
        if (lit) {
            const Vec3& n = unit.normals[k];
            const std::array<double, 4> t = transform(turn, n[0], n[1], n[2], 0);
            normals.insert(normals.end(), {static_cast<float>(t[0]), static_cast<float>(t[1]), static_cast<float>(t[2])});
        }
    }
}

void PieceArrays::draw() const {
    if (positions.empty()) return;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours.data());
    if (!normals.empty()) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normals.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glPopClientAttrib();
}

Matrix4 segment_turn(const SegmentFrame& frame) { return rotation(frame.angle_degrees, frame.axis_x, frame.axis_y, 0); }
