// 4 x 4 matrices built the way glTranslate, glScale, glRotate, gluPerspective and glOrtho build
// them, so that the view's matrices can be computed (and checked) without OpenGL.
#pragma once

#include <array>

// A column-major 4 x 4 matrix, as OpenGL loads it.
using Matrix4 = std::array<double, 16>;

Matrix4 identity();
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
Matrix4 translation(double x, double y, double z);
Matrix4 scaling(double x, double y, double z);
// A turn of `degrees` about the axis (x, y, z), counter-clockwise looking down the axis.
Matrix4 rotation(double degrees, double x, double y, double z);
Matrix4 perspective(double fovy, double aspect, double near, double far);
Matrix4 orthographic(double left, double right, double bottom, double top, double near, double far);
// m applied to the point (x, y, z, w).
std::array<double, 4> transform(const Matrix4& m, double x, double y, double z, double w = 1);
