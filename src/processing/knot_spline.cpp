// Thomas elimination of the natural spline's moment equations
//   h[i-1] M[i-1] + 2 (h[i-1] + h[i]) M[i] + h[i] M[i+1] = 6 (slope[i] - slope[i-1]),
// with M at both ends 0. The system is diagonally dominant, so no pivoting is needed.
#include "processing/knot_spline.h"

void knot_spline_moments(const double* t, int n, const double* const* values, double* const* moments, int series,
                         double* scratch) {
    for (int s = 0; s < series; ++s) {
        for (int i = 0; i < n; ++i) moments[s][i] = 0.0;
    }
    if (n < 3) return;
    double* upper = scratch;                // the eliminated super-diagonal
    double* inverse = scratch + n;          // 1 / the eliminated diagonal
    double* inverse_step = scratch + 2 * n;  // 1 / (t[i + 1] - t[i])
    for (int i = 0; i < n - 1; ++i) inverse_step[i] = 1.0 / (t[i + 1] - t[i]);
    upper[0] = 0.0;
    for (int i = 1; i < n - 1; ++i) {
        const double before = t[i] - t[i - 1];
        const double after = t[i + 1] - t[i];
        const double diagonal = 2.0 * (before + after) - before * upper[i - 1];
        inverse[i] = 1.0 / diagonal;
        upper[i] = after * inverse[i];
    }
    for (int s = 0; s < series; ++s) {
        const double* y = values[s];
        double* m = moments[s];
        double previous = 0.0;  // the eliminated right side of the row before
        for (int i = 1; i < n - 1; ++i) {
            const double before = t[i] - t[i - 1];
            const double rhs = 6.0 * ((y[i + 1] - y[i]) * inverse_step[i] - (y[i] - y[i - 1]) * inverse_step[i - 1]);
            previous = (rhs - before * previous) * inverse[i];
            m[i] = previous;
        }
        for (int i = n - 3; i >= 1; --i) m[i] -= upper[i] * m[i + 1];
    }
}
