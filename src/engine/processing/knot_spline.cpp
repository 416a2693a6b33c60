// Thomas elimination of the natural spline's moment equations
//   h[i-1] M[i-1] + 2 (h[i-1] + h[i]) M[i] + h[i] M[i+1] = 6 (slope[i] - slope[i-1]),
// with M at both ends 0. The system is diagonally dominant, so no pivoting is needed.
#include "engine/processing/knot_spline.h"

void knot_spline_moments(const double* t, const double* const* y, int curves, int n, double* const* m,
                         double* scratch) {
    if (n < 1) return;
    for (int c = 0; c < curves; ++c) m[c][0] = m[c][n - 1] = 0.0;
    if (n < 3) return;
    double* upper = scratch;  // the eliminated super-diagonal
    double* slope[MOST_SPLINE_CURVES];  // (y[i + 1] - y[i]) / (t[i + 1] - t[i])
    for (int c = 0; c < curves; ++c) {
        slope[c] = scratch + (1 + c) * n;
        for (int i = 0; i < n - 1; ++i) slope[c][i] = (y[c][i + 1] - y[c][i]) / (t[i + 1] - t[i]);
    }
    upper[0] = 0.0;
    double previous[MOST_SPLINE_CURVES] = {};  // the eliminated right side of the row before
    for (int i = 1; i < n - 1; ++i) {
        const double before = t[i] - t[i - 1];
        const double after = t[i + 1] - t[i];
        const double inverse = 1.0 / (2.0 * (before + after) - before * upper[i - 1]);
        upper[i] = after * inverse;
        for (int c = 0; c < curves; ++c) {
            previous[c] = (6.0 * (slope[c][i] - slope[c][i - 1]) - before * previous[c]) * inverse;
            m[c][i] = previous[c];
        }
    }
    for (int c = 0; c < curves; ++c) {
        for (int i = n - 3; i >= 1; --i) m[c][i] -= upper[i] * m[c][i + 1];
    }
}
