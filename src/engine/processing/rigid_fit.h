// The least-squares rigid motion between two placements of a few points.
#pragma once

struct Point3 {
    double x, y, z;
};

// The rotation and translation that carry points `from` onto points `to` with the least sum of
// squared distances: to ~ rotation * from + translation.
struct RigidMotion {
    double rotation[3][3];
    Point3 translation;

    Point3 apply(const Point3& p) const {
        const double(&r)[3][3] = rotation;
        return {r[0][0] * p.x + r[0][1] * p.y + r[0][2] * p.z + translation.x,
                r[1][0] * p.x + r[1][1] * p.y + r[1][2] * p.z + translation.y,
                r[2][0] * p.x + r[2][1] * p.y + r[2][2] * p.z + translation.z};
    }
};

// Fits the motion of `count` points (at least 3). False when the points do not fix a rotation
// (all on one line, or too close together).
bool fit_rigid_motion(const Point3* from, const Point3* to, int count, RigidMotion& motion);
