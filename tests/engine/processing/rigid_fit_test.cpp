// The least-squares rigid motion: exact on rigid motion, optimal under noise, refused when the
// points do not fix a rotation.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/processing/rigid_fit.h"

namespace {

struct Rotation {
    double r[3][3];
};

// Rotation by `angle` about the axis (ax, ay, az), by Rodrigues' formula.
Rotation rotation_about(double ax, double ay, double az, double angle) {
    const double n = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= n, ay /= n, az /= n;
    const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    return {{{t * ax * ax + c, t * ax * ay - s * az, t * ax * az + s * ay},
             {t * ax * ay + s * az, t * ay * ay + c, t * ay * az - s * ax},
             {t * ax * az - s * ay, t * ay * az + s * ax, t * az * az + c}}};
}

Point3 rotate(const Rotation& r, const Point3& p) {
    return {r.r[0][0] * p.x + r.r[0][1] * p.y + r.r[0][2] * p.z, r.r[1][0] * p.x + r.r[1][1] * p.y + r.r[1][2] * p.z,
            r.r[2][0] * p.x + r.r[2][1] * p.y + r.r[2][2] * p.z};
}

double squared_residual(const RigidMotion& motion, const Point3* from, const Point3* to, int count) {
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        const Point3 p = motion.apply(from[i]);
        sum += (p.x - to[i].x) * (p.x - to[i].x) + (p.y - to[i].y) * (p.y - to[i].y) + (p.z - to[i].z) * (p.z - to[i].z);
    }
    return sum;
}

}  // namespace

TEST(RigidFit, RecoversRotationsOfEveryAngleExactly) {
    const Point3 from[4] = {{100, 20, 900}, {180, -40, 950}, {120, 60, 1010}, {60, 0, 980}};
    for (double angle : {0.0, 0.3, 1.7, 3.0, M_PI}) {
        for (int count : {3, 4}) {
            const Rotation r = rotation_about(0.3, -1, 0.5, angle);
            Point3 to[4];
            for (int i = 0; i < count; ++i) {
                const Point3 p = rotate(r, from[i]);
                to[i] = {p.x + 250, p.y - 75, p.z + 12.5};
            }
            RigidMotion motion;
            ASSERT_TRUE(fit_rigid_motion(from, to, count, motion)) << angle;
            for (int a = 0; a < 3; ++a) {
                for (int b = 0; b < 3; ++b) EXPECT_NEAR(motion.rotation[a][b], r.r[a][b], 1e-9) << angle;
            }
            const Point3 other = motion.apply({0, 0, 0});
            EXPECT_NEAR(other.x, 250, 1e-6);
            EXPECT_NEAR(other.y, -75, 1e-6);
            EXPECT_NEAR(other.z, 12.5, 1e-6);
        }
    }
}

TEST(RigidFit, UnderNoiseNoNearbyRotationFitsBetter) {
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 2.0);
    const Point3 from[3] = {{0, 0, 0}, {120, 10, 5}, {30, 90, -20}};
    const Rotation r = rotation_about(1, 2, 3, 0.8);
    Point3 to[3];
    for (int i = 0; i < 3; ++i) {
        const Point3 p = rotate(r, from[i]);
        to[i] = {p.x + noise(random), p.y + 40 + noise(random), p.z + noise(random)};
    }
    RigidMotion best;
    ASSERT_TRUE(fit_rigid_motion(from, to, 3, best));
    const double residual = squared_residual(best, from, to, 3);
    // Small rotations of the fit about each axis, with the translation refitted to the
    // centroids, never do better.
    for (int axis = 0; axis < 3; ++axis) {
        for (double angle : {-1e-3, 1e-3}) {
            const Rotation turn = rotation_about(axis == 0, axis == 1, axis == 2, angle);
            RigidMotion other{};
            for (int a = 0; a < 3; ++a) {
                for (int b = 0; b < 3; ++b) {
                    for (int k = 0; k < 3; ++k) other.rotation[a][b] += turn.r[a][k] * best.rotation[k][b];
                }
            }
            Point3 cf{0, 0, 0}, ct{0, 0, 0};
            for (int i = 0; i < 3; ++i) {
                cf = {cf.x + from[i].x / 3, cf.y + from[i].y / 3, cf.z + from[i].z / 3};
                ct = {ct.x + to[i].x / 3, ct.y + to[i].y / 3, ct.z + to[i].z / 3};
            }
            const Point3 moved = other.apply(cf);
            other.translation = {ct.x - moved.x, ct.y - moved.y, ct.z - moved.z};
            EXPECT_GT(squared_residual(other, from, to, 3), residual);
        }
    }
}

TEST(RigidFit, PointsOnALineOrTogetherFixNoRotation) {
    const Point3 line[3] = {{0, 0, 0}, {10, 10, 10}, {25, 25, 25}};
    const Point3 moved[3] = {{1, 0, 0}, {11, 10, 10}, {26, 25, 25}};
    RigidMotion motion;
    EXPECT_FALSE(fit_rigid_motion(line, moved, 3, motion));
    const Point3 same[3] = {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}};
    EXPECT_FALSE(fit_rigid_motion(same, same, 3, motion));
    EXPECT_FALSE(fit_rigid_motion(line, moved, 2, motion));
}
