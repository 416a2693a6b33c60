// Horn's quaternion solution: the best rotation is the unit quaternion that is the eigenvector
// of the largest eigenvalue of a symmetric 4 x 4 matrix built from the cross-covariance of the
// two point sets. The eigenvalue is found by Newton's method on the characteristic polynomial,
// started from an upper bound, and the eigenvector from the adjugate of (N - lambda I); this
// takes a few hundred operations per fit, where a general eigen-solver would take thousands.
#include "engine/processing/rigid_fit.h"

#include <algorithm>
#include <cmath>

namespace {

double det3(double a, double b, double c, double d, double e, double f, double g, double h, double i) {
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

double det4(const double n[4][4]) {
    double result = 0.0;
    for (int column = 0; column < 4; ++column) {
        int c[3];
        for (int j = 0, k = 0; j < 4; ++j) {
            if (j != column) c[k++] = j;
        }
        const double minor = det3(n[1][c[0]], n[1][c[1]], n[1][c[2]], n[2][c[0]], n[2][c[1]], n[2][c[2]], n[3][c[0]],
                                  n[3][c[1]], n[3][c[2]]);
        result += (column % 2 == 0 ? 1.0 : -1.0) * n[0][column] * minor;
    }
    return result;
}

// Row `row` of the adjugate of the symmetric matrix a: the cofactors of that row.
void cofactor_row(const double a[4][4], int row, double out[4]) {
    int r[3];
    for (int j = 0, k = 0; j < 4; ++j) {
        if (j != row) r[k++] = j;
    }
    for (int column = 0; column < 4; ++column) {
        int c[3];
        for (int j = 0, k = 0; j < 4; ++j) {
            if (j != column) c[k++] = j;
        }
        const double minor = det3(a[r[0]][c[0]], a[r[0]][c[1]], a[r[0]][c[2]], a[r[1]][c[0]], a[r[1]][c[1]],
                                  a[r[1]][c[2]], a[r[2]][c[0]], a[r[2]][c[1]], a[r[2]][c[2]]);
        out[column] = ((row + column) % 2 == 0 ? 1.0 : -1.0) * minor;
    }
}

// True when the points, less `c`, do not all lie on one line through c: then, and only then, the
// rotation is fixed by them.
bool spans_a_plane(const Point3* p, int count, const Point3& c) {
    double spread = 0.0, widest = 0.0;
    for (int i = 0; i < count; ++i) {
        const double u[3] = {p[i].x - c.x, p[i].y - c.y, p[i].z - c.z};
        spread += u[0] * u[0] + u[1] * u[1] + u[2] * u[2];
        for (int j = i + 1; j < count; ++j) {
            const double v[3] = {p[j].x - c.x, p[j].y - c.y, p[j].z - c.z};
            const double cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
            widest = std::max(widest, cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
        }
    }
    return spread > 0.0 && widest > 1e-18 * spread * spread;
}

Point3 centroid(const Point3* p, int count) {
    Point3 c{0, 0, 0};
    for (int i = 0; i < count; ++i) {
        c.x += p[i].x;
        c.y += p[i].y;
        c.z += p[i].z;
    }
    return {c.x / count, c.y / count, c.z / count};
}

}  // namespace

bool fit_rigid_motion(const Point3* from, const Point3* to, int count, RigidMotion& motion) {
    if (count < 3) return false;
    const Point3 cf = centroid(from, count);
    const Point3 ct = centroid(to, count);
    if (!spans_a_plane(from, count, cf) || !spans_a_plane(to, count, ct)) return false;
    double s[3][3] = {};  // cross-covariance: s[a][b] = sum of from_a * to_b, both centred
    double spread = 0.0;  // sum of squared distances from the centroids, both sets
    for (int i = 0; i < count; ++i) {
        const double f[3] = {from[i].x - cf.x, from[i].y - cf.y, from[i].z - cf.z};
        const double t[3] = {to[i].x - ct.x, to[i].y - ct.y, to[i].z - ct.z};
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) s[a][b] += f[a] * t[b];
            spread += f[a] * f[a] + t[a] * t[a];
        }
    }
    if (!(spread > 0.0) || !std::isfinite(spread)) return false;
    const double xx = s[0][0], xy = s[0][1], xz = s[0][2];
    const double yx = s[1][0], yy = s[1][1], yz = s[1][2];
    const double zx = s[2][0], zy = s[2][1], zz = s[2][2];
    double n[4][4] = {{xx + yy + zz, yz - zy, zx - xz, xy - yx},
                      {yz - zy, xx - yy - zz, xy + yx, zx + xz},
                      {zx - xz, xy + yx, -xx + yy - zz, yz + zy},
                      {xy - yx, zx + xz, yz + zy, -xx - yy + zz}};

    // det(N - lambda I) = lambda^4 + c2 lambda^2 + c1 lambda + c0 (N has no trace).
    double c2 = 0.0;
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) c2 += s[a][b] * s[a][b];
    }
    c2 *= -2.0;
    const double c1 = -8.0 * det3(xx, xy, xz, yx, yy, yz, zx, zy, zz);
    const double c0 = det4(n);
    double lambda = 0.5 * spread;  // never below the largest eigenvalue
    for (int iteration = 0; iteration < 60; ++iteration) {
        const double l2 = lambda * lambda;
        const double value = (l2 + c2) * l2 + c1 * lambda + c0;
        const double slope = 4.0 * l2 * lambda + 2.0 * c2 * lambda + c1;
        if (slope == 0.0) break;
        const double step = value / slope;
        lambda -= step;
        if (std::fabs(step) <= 1e-13 * std::fabs(lambda)) break;
    }

    for (int i = 0; i < 4; ++i) n[i][i] -= lambda;
    double best[4] = {};
    double best_norm = 0.0;
    for (int row = 0; row < 4; ++row) {
        double candidate[4];
        cofactor_row(n, row, candidate);
        const double norm = candidate[0] * candidate[0] + candidate[1] * candidate[1] + candidate[2] * candidate[2] +
                            candidate[3] * candidate[3];
        if (norm > best_norm) {
            best_norm = norm;
            for (int k = 0; k < 4; ++k) best[k] = candidate[k];
        }
    }
    // The adjugate of a matrix of rank 3 is its null vector times a factor of the size of the
    // product of the other three eigenvalue gaps; a tiny one means those gaps vanish and the
    // rotation is not fixed by the points.
    const double scale = spread * spread * spread;
    if (!(best_norm > 1e-20 * scale * scale) || !std::isfinite(best_norm)) return false;
    const double length = std::sqrt(best_norm);
    const double w = best[0] / length, x = best[1] / length, y = best[2] / length, z = best[3] / length;

    double(&r)[3][3] = motion.rotation;
    r[0][0] = w * w + x * x - y * y - z * z;
    r[0][1] = 2.0 * (x * y - w * z);
    r[0][2] = 2.0 * (x * z + w * y);
    r[1][0] = 2.0 * (x * y + w * z);
    r[1][1] = w * w - x * x + y * y - z * z;
    r[1][2] = 2.0 * (y * z - w * x);
    r[2][0] = 2.0 * (x * z - w * y);
    r[2][1] = 2.0 * (y * z + w * x);
    r[2][2] = w * w - x * x - y * y + z * z;
    motion.translation = {ct.x - (r[0][0] * cf.x + r[0][1] * cf.y + r[0][2] * cf.z),
                          ct.y - (r[1][0] * cf.x + r[1][1] * cf.y + r[1][2] * cf.z),
                          ct.z - (r[2][0] * cf.x + r[2][1] * cf.y + r[2][2] * cf.z)};
    return true;
}
