// Every stretch long enough is filtered at every cutoff tried; the squared differences are summed
// per mark and for the whole selection, over the coordinates filtered.
#include "engine/processing/residual_cutoff.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/model/seams.h"
#include "engine/processing/butterworth.h"
#include "engine/processing/butterworth_filter.h"

namespace {

constexpr int FEWEST_CUTOFFS = 4;  // the upper half then holds two points for the line

struct AxisStretch {
    int mark_index;  // into the marks asked
    int axis;
    Stretch frames;
};

}  // namespace

double winter_cutoff(const std::vector<double>& cutoffs, const std::vector<double>& residuals) {
    const int count = static_cast<int>(cutoffs.size());
    if (count < FEWEST_CUTOFFS) return 0;
    // Least squares over the upper half of the cutoffs.
    const int from = count / 2;
    const int points = count - from;
    double mean_f = 0, mean_r = 0;
    for (int i = from; i < count; ++i) {
        mean_f += cutoffs[i];
        mean_r += residuals[i];
    }
    mean_f /= points;
    mean_r /= points;
    double covariance = 0, variance = 0;
    for (int i = from; i < count; ++i) {
        covariance += (cutoffs[i] - mean_f) * (residuals[i] - mean_r);
        variance += (cutoffs[i] - mean_f) * (cutoffs[i] - mean_f);
    }
    const double noise = mean_r - covariance / variance * mean_f;
    for (int i = 0; i < count; ++i) {
        if (residuals[i] <= noise) return cutoffs[i];
    }
    return cutoffs.back();
}

CutoffSuggestion residual_cutoff(const CaptureData& data, const std::vector<int>& marks, int first_frame,
                                 int last_frame, int order) {
    CutoffSuggestion suggestion;
    std::vector<double> cutoffs;
    for (double f = RESIDUAL_STEP; filter_refusal(f, data.capture_rate, order).empty(); f += RESIDUAL_STEP) {
        cutoffs.push_back(f);
    }
    if (static_cast<int>(cutoffs.size()) < FEWEST_CUTOFFS) {
        std::string refusal = filter_refusal(RESIDUAL_STEP, data.capture_rate, order);
        if (refusal.empty()) {
            char text[256];
            std::snprintf(text, sizeof text,
                          "A capture at %g Hz allows too few cutoffs to choose one from the data.\nThe highest "
                          "cutoff allowed is %.2f Hz.",
                          data.capture_rate, highest_cutoff(data.capture_rate, order));
            refusal = text;
        }
        show_error(refusal);
        suggestion.refused = true;
        return suggestion;
    }
    const int first = std::max(first_frame, 0);
    const int last = std::min(last_frame, data.num_frames - 1);
    const int shortest = shortest_filtered_stretch(order);
    std::vector<AxisStretch> stretches;
    std::vector<long> coordinates(marks.size(), 0);
    for (size_t i = 0; i < marks.size(); ++i) {
        const Sample* samples = data.channels[marks[i]].samples.get();
        if (!samples || first > last) continue;
        for (int axis = 0; axis < 3; ++axis) {
            for (const Stretch& s : seen_stretches(samples, axis, first, last)) {
                if (s.length() < shortest) continue;
                stretches.push_back({static_cast<int>(i), axis, s});
                coordinates[i] += s.length();
            }
        }
    }
    const long all_coordinates = [&] {
        long sum = 0;
        for (long c : coordinates) sum += c;
        return sum;
    }();
    std::vector<std::vector<double>> residuals(marks.size(), std::vector<double>(cutoffs.size()));
    std::vector<double> overall(cutoffs.size());
    std::vector<double> values, scratch;
    std::vector<double> squares(marks.size());
    for (size_t c = 0; c < cutoffs.size(); ++c) {
        const ButterworthPass pass = butterworth_pass(cutoffs[c], data.capture_rate, order);
        std::fill(squares.begin(), squares.end(), 0.0);
        for (const AxisStretch& s : stretches) {
            const Sample* samples = data.channels[marks[s.mark_index]].samples.get();
            values.resize(s.frames.length());
            for (int f = s.frames.first; f <= s.frames.last; ++f) values[f - s.frames.first] = axis_coordinate(samples[f], s.axis);
            filtfilt_stretch(pass, values.data(), s.frames.length(), 1, 1, scratch);
            double sum = 0;
            for (int f = s.frames.first; f <= s.frames.last; ++f) {
                const double d = axis_coordinate(samples[f], s.axis) - values[f - s.frames.first];
                sum += d * d;
            }
            squares[s.mark_index] += sum;
        }
        double total = 0;
        for (size_t i = 0; i < marks.size(); ++i) {
            total += squares[i];
            if (coordinates[i] > 0) residuals[i][c] = std::sqrt(squares[i] / coordinates[i]);
        }
        if (all_coordinates > 0) overall[c] = std::sqrt(total / all_coordinates);
    }
    for (size_t i = 0; i < marks.size(); ++i) {
        suggestion.marks.push_back({marks[i], coordinates[i] > 0 ? winter_cutoff(cutoffs, residuals[i]) : 0.0});
    }
    if (all_coordinates > 0) suggestion.overall = winter_cutoff(cutoffs, overall);
    return suggestion;
}
