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

// One transposed direct-form pass over `count` frames from `start` in steps of `step` frames,
// in place, starting from the steady state of the first frame it meets.
template <int N, int W>
void run_pass(const ButterworthPass& p, double* v, int count, int start, int step) {
    double z[N][W];
    for (int k = 0; k < N; ++k)
        for (int w = 0; w < W; ++w) z[k][w] = p.steady[k] * v[start * W + w];
    double* at = v + start * W;
    const long advance = static_cast<long>(step) * W;
    for (int i = 0; i < count; ++i, at += advance) {
        for (int w = 0; w < W; ++w) {
            const double x = at[w];
            const double y = p.b[0] * x + z[0][w];
            for (int k = 0; k < N - 1; ++k) z[k][w] = p.b[k + 1] * x - p.a[k + 1] * y + z[k + 1][w];
            z[N - 1][w] = p.b[N] * x - p.a[N] * y;
            at[w] = y;
        }
    }
}

template <int N, int W>
void forward_backward(const ButterworthPass& p, double* ext, int total) {
    run_pass<N, W>(p, ext, total, 0, 1);
    run_pass<N, W>(p, ext, total, total - 1, -1);
}

template <int W>
void forward_backward(const ButterworthPass& p, double* ext, int total) {
    switch (p.n) {
        case 1: forward_backward<1, W>(p, ext, total); break;
        case 2: forward_backward<2, W>(p, ext, total); break;
        default: forward_backward<3, W>(p, ext, total); break;
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
    // The steady state for a constant input of 1: the output is the DC gain, and each state
    // carries what the later taps add to it.
    double sum_b = 0, sum_a = 0;
    for (int i = 0; i <= n; ++i) {
        sum_b += pass.b[i];
        sum_a += pass.a[i];
    }
    const double dc = sum_b / sum_a;
    double carried = 0;
    for (int k = n - 1; k >= 0; --k) {
        carried += pass.b[k + 1] - pass.a[k + 1] * dc;
        pass.steady[k] = carried;
    }
    return pass;
}

void filtfilt_stretch(const ButterworthPass& pass, double* values, int count, int stride, int width,
                      std::vector<double>& scratch) {
    const int edge = 3 * (pass.n + 1);
    assert(count > edge && (width == 1 || width == 3) && "filtfilt_stretch: stretch too short");
    const int total = count + 2 * edge;
    scratch.resize(static_cast<size_t>(total) * width);
    double* ext = scratch.data();
    for (int i = 0; i < count; ++i)
        for (int w = 0; w < width; ++w) ext[(edge + i) * width + w] = values[static_cast<long>(i) * stride + w];
    // Odd extension: the stretch mirrored through its end points.
    const int last = edge + count - 1;
    for (int i = 1; i <= edge; ++i) {
        for (int w = 0; w < width; ++w) {
            ext[(edge - i) * width + w] = 2 * ext[edge * width + w] - ext[(edge + i) * width + w];
            ext[(last + i) * width + w] = 2 * ext[last * width + w] - ext[(last - i) * width + w];
        }
    }
    if (width == 3) {
        forward_backward<3>(pass, ext, total);
    } else {
        forward_backward<1>(pass, ext, total);
    }
    for (int i = 0; i < count; ++i)
        for (int w = 0; w < width; ++w) values[static_cast<long>(i) * stride + w] = ext[(edge + i) * width + w];
}
