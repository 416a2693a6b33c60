// Spline arithmetic on fixed arrays: no heap memory, time linear in the chunk.
#include "engine/processing/spline.h"

#include <cassert>

#include "engine/model/limits.h"
#include "engine/model/seams.h"

void natural_spline(const double* x, int count, SplineSegment* segments, double* scratch) {
    const int n = count - 1;
    if (n < 1) return;
    double* gamma = scratch;
    double* delta = scratch + count;  // reused for the derivatives D
    gamma[0] = 0.5;
    for (int i = 1; i < n; ++i) gamma[i] = 1.0 / (4.0 - gamma[i - 1]);
    gamma[n] = 1.0 / (2.0 - gamma[n - 1]);
    delta[0] = 3.0 * (x[1] - x[0]) * gamma[0];
    for (int i = 1; i < n; ++i) delta[i] = (3.0 * (x[i + 1] - x[i - 1]) - delta[i - 1]) * gamma[i];
    delta[n] = (3.0 * (x[n] - x[n - 1]) - delta[n - 1]) * gamma[n];
    double* d = delta;
    for (int i = n - 1; i >= 0; --i) d[i] = delta[i] - gamma[i] * d[i + 1];
    for (int k = 0; k < n; ++k) {
        segments[k] = {x[k], d[k], 3.0 * (x[k + 1] - x[k]) - 2.0 * d[k] - d[k + 1],
                       2.0 * (x[k] - x[k + 1]) + d[k] + d[k + 1]};
    }
}

bool fill_chunk_ends(int count, double* values) {
    if (is_lost(values[0])) {
        int first = 1;
        while (first < count && is_lost(values[first])) ++first;
        if (first == count) return true;
        values[0] = values[first];
    }
    if (is_lost(values[count - 1])) {
        int last = count - 2;
        while (is_lost(values[last])) --last;
        values[count - 1] = values[last];
    }
    return false;
}

void spline_fill(int count, double* values) {
    assert(count >= 1 && count <= CHUNK_MAX && "spline_fill: chunk size out of range");
    if (fill_chunk_ends(count, values)) {
        show_message("Too Much Errors.\n It's impossible to interpolate.", MESSAGE_ERROR, BUTTONS_CLOSE);
        return;
    }
    double knots[CHUNK_MAX];
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (!is_lost(values[i])) knots[n++] = values[i];
    }
    if (n < 2) return;
    SplineSegment segments[CHUNK_MAX];
    double scratch[2 * CHUNK_MAX];
    natural_spline(knots, n, segments, scratch);

    int knot = -1;  // the knot just before the current position
    for (int i = 0; i < count;) {
        if (!is_lost(values[i])) {
            ++knot;
            ++i;
            continue;
        }
        int end = i;
        while (end < count && is_lost(values[end])) ++end;
        const int run = end - i;
        for (int j = 0; j < run; ++j) values[i + j] = segments[knot].at(static_cast<double>(j + 1) / (run + 1));
        i = end;
    }
}
