// The pass is the analog Butterworth prototype, scaled to the prewarped cutoff and mapped by the
// bilinear transform; the forward-backward run starts each pass from the steady state of its
// first sample, so a stretch that starts away from zero does not ring.
#include "engine/processing/butterworth.h"

#include <cassert>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

namespace {

using Complex = std::complex<double>;

// Coefficients of the monic polynomial with these roots, highest power first.
std::vector<Complex> polynomial(const std::vector<Complex>& roots) {
    std::vector<Complex> c{1.0};
    for (const Complex& r : roots) {
        c.push_back(0.0);
        for (size_t i = c.size() - 1; i > 0; --i) c[i] -= r * c[i - 1];
    }
    return c;
}

// The past inputs and outputs of a pass, lane by lane, as if the first frame's values had been
// its input forever (the steady state scipy's filtfilt starts from).
template <int W>
struct PassState {
    double x1[W], x2[W], x3[W], y1[W], y2[W], y3[W];

    PassState(const double* first, double dc) {
        for (int l = 0; l < W; ++l) {
            x1[l] = x2[l] = x3[l] = first[l];
            y1[l] = y2[l] = y3[l] = dc * first[l];
        }
    }
};

// One pass over `count` frames of W lanes, frame i at values[i * stride], in place. The numerator
// of a Butterworth low-pass is the gain times binomial coefficients, so the pass is written in
// direct form with the input sum taken by additions; on the recursive side only the product with
// the previous output waits for it. The past values live in locals so that they stay in registers.
template <int N, int W>
void run_pass(const ButterworthPass& p, PassState<W>& state, double* values, int count, long stride) {
    const double gain = p.b[0], a1 = p.a[1], a2 = p.a[2], a3 = p.a[3];
    PassState<W> s = state;
    for (int i = 0; i < count; ++i, values += stride) {
#pragma GCC unroll 3
        for (int l = 0; l < W; ++l) {
            const double x = values[l];
            double y;
            if constexpr (N == 1) {
                y = gain * (x + s.x1[l]) - a1 * s.y1[l];
            } else if constexpr (N == 2) {
                y = (gain * ((x + s.x2[l]) + (s.x1[l] + s.x1[l])) - a2 * s.y2[l]) - a1 * s.y1[l];
            } else {
                y = (gain * ((x + s.x3[l]) + 3.0 * (s.x1[l] + s.x2[l])) - a3 * s.y3[l] - a2 * s.y2[l]) - a1 * s.y1[l];
            }
            s.x3[l] = s.x2[l];
            s.x2[l] = s.x1[l];
            s.x1[l] = x;
            s.y3[l] = s.y2[l];
            s.y2[l] = s.y1[l];
            s.y1[l] = y;
            values[l] = y;
        }
    }
    state = s;
}

// Forward over the left extension, the stretch and the right extension, then backward over the
// right extension and the stretch: what the backward pass would give the left extension is not
// wanted. The stretch is filtered where it lies.
template <int N, int W>
void forward_backward(const ButterworthPass& p, double* values, int count, long stride, double* left, double* right,
                      int edge) {
    PassState<W> forward(left, p.dc);
    run_pass<N, W>(p, forward, left, edge, W);
    run_pass<N, W>(p, forward, values, count, stride);
    run_pass<N, W>(p, forward, right, edge, W);
    PassState<W> backward(right + (edge - 1) * W, p.dc);
    run_pass<N, W>(p, backward, right + (edge - 1) * W, edge, -W);
    run_pass<N, W>(p, backward, values + (count - 1) * stride, count, -stride);
}

template <int W>
void forward_backward(const ButterworthPass& p, double* values, int count, long stride, double* left, double* right,
                      int edge) {
    switch (p.n) {
        case 1: forward_backward<1, W>(p, values, count, stride, left, right, edge); break;
        case 2: forward_backward<2, W>(p, values, count, stride, left, right, edge); break;
        default: forward_backward<3, W>(p, values, count, stride, left, right, edge); break;
    }
}

}  // namespace

bool valid_filter_order(int order) { return order == 2 || order == 4 || order == 6; }

double cutoff_correction(int order) { return std::pow(std::numbers::sqrt2 - 1.0, 1.0 / order); }

double cutoff_limit(double rate, int order) { return cutoff_correction(order) * rate / 2.0; }

double highest_cutoff(double rate, int order) {
    const double limit = cutoff_limit(rate, order);
    double highest = std::floor(limit * 100.0) / 100.0;
    if (highest >= limit) highest -= 0.01;
    return highest;
}

std::string filter_refusal(double cutoff, double rate, int order) {
    char text[256];
    if (!valid_filter_order(order)) {
        std::snprintf(text, sizeof text, "The filter order must be 2, 4 or 6, not %d.", order);
        return text;
    }
    if (!(rate > 0)) return "The capture has no frame rate: it can't be filtered in Hz.";
    if (!(cutoff > 0)) {
        std::snprintf(text, sizeof text, "The cutoff must be above 0 Hz, not %g Hz.", cutoff);
        return text;
    }
    if (cutoff >= cutoff_limit(rate, order)) {
        std::snprintf(text, sizeof text,
                      "The cutoff %.2f Hz is too high for a capture at %g Hz.\nThe highest cutoff allowed is %.2f Hz.",
                      cutoff, rate, highest_cutoff(rate, order));
        return text;
    }
    return "";
}

int filter_edge(int order) { return 3 * (order / 2 + 1); }

ButterworthPass butterworth_pass(double cutoff, double rate, int order) {
    assert(filter_refusal(cutoff, rate, order).empty() && "butterworth_pass: unchecked settings");
    ButterworthPass pass;
    const int n = order / 2;
    pass.n = n;
    // Prewarped for a bilinear transform at a sampling rate of 2, the frequency taken relative to
    // the Nyquist frequency: what matters is only the cutoff's fraction of the rate.
    const double corrected = cutoff / cutoff_correction(order);
    const double warped = 4.0 * std::tan(std::numbers::pi * corrected / rate);
    std::vector<Complex> poles;
    Complex denominator = 1.0;
    for (int m = -n + 1; m < n; m += 2) {
        const Complex analog = -std::exp(Complex(0, std::numbers::pi * m / (2.0 * n))) * warped;
        poles.push_back((4.0 + analog) / (4.0 - analog));
        denominator *= 4.0 - analog;
    }
    const double gain = std::pow(warped, n) / denominator.real();
    const std::vector<Complex> a = polynomial(poles);
    const std::vector<Complex> b = polynomial(std::vector<Complex>(n, -1.0));
    for (int i = 0; i <= n; ++i) {
        pass.a[i] = a[i].real();
        pass.b[i] = gain * b[i].real();
    }
    double sum_b = 0, sum_a = 0;
    for (int i = 0; i <= n; ++i) {
        sum_b += pass.b[i];
        sum_a += pass.a[i];
    }
    pass.dc = sum_b / sum_a;
    return pass;
}

void filtfilt_stretch(const ButterworthPass& pass, double* values, int count, int stride, int width,
                      std::vector<double>& scratch) {
    const int edge = 3 * (pass.n + 1);
    assert(count > edge && (width == 1 || width == 3) && "filtfilt_stretch: stretch too short");
    // Odd extension: the stretch mirrored through its end points, edge frames each side.
    scratch.resize(static_cast<size_t>(2 * edge * width));
    double* left = scratch.data();
    double* right = left + edge * width;
    const auto at = [&](int i, int w) { return values[static_cast<long>(i) * stride + w]; };
    for (int j = 0; j < edge; ++j) {
        for (int w = 0; w < width; ++w) {
            left[j * width + w] = 2 * at(0, w) - at(edge - j, w);
            right[j * width + w] = 2 * at(count - 1, w) - at(count - 2 - j, w);
        }
    }
    if (width == 3) {
        forward_backward<3>(pass, values, count, stride, left, right, edge);
    } else {
        forward_backward<1>(pass, values, count, stride, left, right, edge);
    }
}
