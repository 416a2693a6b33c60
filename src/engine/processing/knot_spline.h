// The natural cubic spline through knots at any increasing positions (frame numbers with gaps
// between them), used by the accurate gap fill.
#pragma once

// Second derivatives m[0..n-1] of the natural cubic spline through (t[i], y[i]), t strictly
// increasing; `scratch` needs 2 x n doubles. With fewer than three knots every moment is 0 (a
// straight line, or nothing).
void knot_spline_moments(const double* t, const double* y, int n, double* m, double* scratch);

// The spline of knots t, values y and moments m at x, for t[k] <= x <= t[k + 1].
inline double knot_spline_at(const double* t, const double* y, const double* m, int k, double x) {
    const double h = t[k + 1] - t[k];
    const double a = t[k + 1] - x;
    const double b = x - t[k];
    return (m[k] * a * a * a + m[k + 1] * b * b * b) / (6.0 * h) + (y[k] / h - m[k] * h / 6.0) * a +
           (y[k + 1] / h - m[k + 1] * h / 6.0) * b;
}
