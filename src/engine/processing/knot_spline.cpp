// Thomas elimination of the natural spline's moment equations
//   h[i-1] M[i-1] + 2 (h[i-1] + h[i]) M[i] + h[i] M[i+1] = 6 (slope[i] - slope[i-1]),
// with M at both ends 0. The system is diagonally dominant, so no pivoting is needed.
#include "engine/processing/knot_spline.h"

void knot_spline_moments(const double* t, const double* y, int n, double* m, double* scratch) {
    if (n < 1) return;
    m[0] = m[n - 1] = 0.0;
    if (n < 3) return;
    double* upper = scratch;      // the eliminated super-diagonal
    double* slope = scratch + n;  // (y[i + 1] - y[i]) / (t[i + 1] - t[i])
    for (int i = 0; i < n - 1; ++i) slope[i] = (y[i + 1] - y[i]) / (t[i + 1] - t[i]);
    upper[0] = 0.0;
    double previous = 0.0;  // the eliminated right side of the row before
    for (int i = 1; i < n - 1; ++i) {
        const double before = t[i] - t[i - 1];
        const double after = t[i + 1] - t[i];
        const double inverse = 1.0 / (2.0 * (before + after) - before * upper[i - 1]);
        upper[i] = after * inverse;
        previous = (6.0 * (slope[i] - slope[i - 1]) - before * previous) * inverse;
        m[i] = previous;
    }
    for (int i = n - 3; i >= 1; --i) m[i] -= upper[i] * m[i + 1];
}
