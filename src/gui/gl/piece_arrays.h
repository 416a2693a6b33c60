// Round pieces (spheres, cylinder bodies, end caps) tessellated once at unit size as GLU builds
// them, then turned, sized and moved on the CPU into vertex arrays, so that every piece of a kind
// in a frame is drawn by one call: the renderer's cost is in its calls, not in the few vertices
// each piece has.
#pragma once

#include <GL/gl.h>

#include <array>
#include <vector>

#include "engine/scene/matrix4.h"
#include "engine/scene/scene_math.h"

using Vec3 = std::array<double, 3>;

// Shared corners with their normals and three indices a triangle, counter-clockwise seen from
// outside: indexed, the renderer transforms each corner once, not once per triangle meeting there.
struct UnitMesh {
    std::vector<Vec3> points;
    std::vector<Vec3> normals;
    std::vector<GLuint> indices;
};

const UnitMesh& unit_sphere_mesh();  // radius 1, 5 slices and 5 stacks
const UnitMesh& unit_body_mesh();    // a cylinder of radius 1 from z = 0 to 1, 5 slices, open
const UnitMesh& unit_cap_mesh();     // a disk of radius 1 facing z, 10 slices, one ring

struct PieceArrays {
    std::vector<float> positions, normals;
    std::vector<GLubyte> colours;
    std::vector<GLuint> indices;

    void clear();
    // Adds `unit` sized by `size`, lifted by `lift` along its z, turned by `turn` and moved to
    // `at`, in `colour`; with `lit` each corner gets the mesh's normal turned.
    void place(const UnitMesh& unit, const Matrix4& turn, const ScenePoint& at, const Vec3& size, double lift,
               const GLubyte colour[4], bool lit);
    // One call for everything placed, with normals when the pieces were placed lit.
    void draw() const;
};

// The rotation that turns z onto the segment from a to b.
Matrix4 segment_turn(const SegmentFrame& frame);
