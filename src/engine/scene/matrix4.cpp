// Matrix arithmetic of the view, in the conventions of the fixed-function OpenGL pipeline.
#include "engine/scene/matrix4.h"

#include <cmath>

namespace {
constexpr double PI = 3.14159265358979323846;
}

Matrix4 identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r{};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    }
    return r;
}

Matrix4 translation(double x, double y, double z) {
    Matrix4 m = identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 scaling(double x, double y, double z) {
    Matrix4 m = identity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix4 rotation(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return identity();
    x /= length;
    y /= length;
    z /= length;
    const double a = degrees * PI / 180.0;
    const double c = std::cos(a), s = std::sin(a), t = 1 - c;
    return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0,
            t * x * y - s * z, t * y * y + c,     t * y * z + s * x, 0,
            t * x * z + s * y, t * y * z - s * x, t * z * z + c,     0,
            0,                 0,                 0,                 1};
}

Matrix4 perspective(double fovy, double aspect, double near, double far) {
    const double f = 1.0 / std::tan(fovy * PI / 360.0);
    Matrix4 m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (far + near) / (near - far);
    m[11] = -1;
    m[14] = 2 * far * near / (near - far);
    return m;
}

Matrix4 orthographic(double left, double right, double bottom, double top, double near, double far) {
    Matrix4 m = identity();
    m[0] = 2 / (right - left);
    m[5] = 2 / (top - bottom);
    m[10] = -2 / (far - near);
    m[12] = -(right + left) / (right - left);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(far + near) / (far - near);
    return m;
}

std::array<double, 4> transform(const Matrix4& m, double x, double y, double z, double w) {
    const double in[4] = {x, y, z, w};
    std::array<double, 4> out{};
    for (int row = 0; row < 4; ++row) {
        for (int k = 0; k < 4; ++k) out[row] += m[k * 4 + row] * in[k];
    }
    return out;
}
