// The natural cubic spline with unit knot spacing that repair, smoothing and the curve editor
// share, and the fill of lost entries in one chunk of a trajectory.
#pragma once

// The most frames one chunk holds: 100, and 101 for an interval of exactly 101 frames, which the
// chunking keeps whole.
constexpr int CHUNK_MAX = 101;

// Segment k of a spline through knots X[0..n]: c0 + c1 u + c2 u^2 + c3 u^3 for u in 0..1.
struct SplineSegment {
    double c0, c1, c2, c3;
    double at(double u) const { return c0 + u * (c1 + u * (c2 + u * c3)); }
};

// Fills segments[0..n-1] for the knots X[0..n] (n = knots - 1); `scratch` needs 2 x knots
// doubles. Nothing is done for fewer than two knots.
void natural_spline(const double* knots, int count, SplineSegment* segments, double* scratch);

// The end rule: a lost first entry takes the first valid value, a lost last entry the last valid
// one. Returns true when the chunk holds no valid entry at all (and then changes nothing).
bool fill_chunk_ends(int count, double* values);

// Fills every lost entry of values[0..count-1] (count 1..CHUNK_MAX) from the spline through the
// valid ones; each run of lost entries is spread evenly over one unit of the spline parameter.
// A chunk without any valid entry shows "Too Much Errors.\n It's impossible to interpolate."
void spline_fill(int count, double* values);
