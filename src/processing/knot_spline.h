// The natural cubic spline through knots at any increasing positions (frame numbers with gaps
// between them), used by the accurate gap fill.
#pragma once

// Second derivatives moments[s][0..n-1] of the natural cubic splines through (t[i], values[s][i])
// for each of `series` value sets (1..3) that share the knots t[0..n-1], t strictly increasing.
// The tridiagonal system is factorised once for all sets; `scratch` needs 3 x n doubles.
// With fewer than three knots every moment is 0 (a straight line, or nothing).
void knot_spline_moments(const double* t, int n, const double* const* values, double* const* moments, int series,
                         double* scratch);

// The spline of knots t, values y and moments m at x, for t[k] <= x <= t[k + 1].
inline double knot_spline_at(const double* t, const double* y, const double* m, int k, double x) {
    const double h = t[k + 1] - t[k];
    const double a = t[k + 1] - x;
    const double b = x - t[k];
    return (m[k] * a * a * a + m[k + 1] * b * b * b) / (6.0 * h) + (y[k] / h - m[k] * h / 6.0) * a +
           (y[k + 1] / h - m[k + 1] * h / 6.0) * b;
}
