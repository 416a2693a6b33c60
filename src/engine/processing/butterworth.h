// The zero-lag Butterworth low-pass of gait analysis: one pass designed by the bilinear transform,
// run forward and backward over one gap-free stretch of samples with odd extension at both ends.
#pragma once

#include <string>
#include <vector>

constexpr double FILTER_DEFAULT_CUTOFF = 6.0;  // Hz, the usual value for walking
constexpr int FILTER_DEFAULT_ORDER = 4;

// Orders count the two passes together, as biomechanics does: a "fourth-order zero-lag" filter
// is a second-order Butterworth run forward and backward. 2, 4 and 6 are offered.
bool valid_filter_order(int order);

// The cutoff of one pass is the asked one divided by this, so that the forward and backward
// passes together are 3 dB down at the asked cutoff.
double cutoff_correction(int order);

// Cutoffs must stay below this for the rate: above it the corrected cutoff reaches half the rate.
double cutoff_limit(double rate, int order);

// The highest cutoff offered for the rate, in hundredths of a hertz, strictly below the limit.
double highest_cutoff(double rate, int order);

// Empty when the filter can run; otherwise why not, in words for the user.
std::string filter_refusal(double cutoff, double rate, int order);

// The samples each end of a stretch is extended by, and the shortest stretch that is filtered.
int filter_edge(int order);
inline int shortest_filtered_stretch(int order) { return filter_edge(order) + 1; }

// One pass of the filter: numerator b and denominator a (a[0] = 1) of degree n, and its gain at
// 0 Hz (1 but for rounding), the output a constant input settles at.
struct ButterworthPass {
    int n = 0;
    double b[4] = {};
    double a[4] = {};
    double dc = 1;
};

// The pass for a zero-lag filter of `order` at `cutoff` Hz; the caller has checked filter_refusal.
ButterworthPass butterworth_pass(double cutoff, double rate, int order);

// Filters `count` frames of `width` interleaved values (1, or 3 for x, y and z together), frame i
// starting at values[i * stride], forward and backward; count must exceed the edge of the order.
// `scratch` is reused between calls.
void filtfilt_stretch(const ButterworthPass& pass, double* values, int count, int stride, int width,
                      std::vector<double>& scratch);
