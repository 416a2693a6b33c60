// The natural cubic spline through knots at any increasing positions (frame numbers with gaps
// between them), used by the accurate gap fill.
#pragma once

// The most curves knot_spline_moments solves at once.
constexpr int MOST_SPLINE_CURVES = 3;

// Second derivatives m[c][0..n-1] of the natural cubic splines through (t[i], y[c][i]) for each
// of `curves` (at most MOST_SPLINE_CURVES) sets of values at the same knots, t strictly increasing;
// `scratch` needs (1 + curves) x n doubles. The knots' part of the elimination is shared, and
// each curve comes out as it would alone, to the last bit. With fewer than three knots every
// moment is 0 (a straight line, or nothing).
void knot_spline_moments(const double* t, const double* const* y, int curves, int n, double* const* m,
                         double* scratch);

// The piece of the spline of knots t, values y and moments m between t[k] and t[k + 1], with
// what does not depend on x worked out once: a gap usually lies within one piece.
struct KnotSegment {
    KnotSegment(const double* t, const double* y, const double* m, int k)
        : start(t[k]),
          end(t[k + 1]),
          moment_start(m[k]),
          moment_end(m[k + 1]),
          six_h(6.0 * (end - start)),
          slope_start(y[k] / (end - start) - m[k] * (end - start) / 6.0),
          slope_end(y[k + 1] / (end - start) - m[k + 1] * (end - start) / 6.0) {}

    // The spline at x, for start <= x <= end.
    double at(double x) const {
        const double a = end - x;
        const double b = x - start;
        return (moment_start * a * a * a + moment_end * b * b * b) / six_h + slope_start * a + slope_end * b;
    }

    double start, end, moment_start, moment_end, six_h, slope_start, slope_end;
};
