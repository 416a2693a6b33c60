// Every fill is worked out from the capture as it was before the run and written afterwards, so
// a filled value never serves as a knot or a donor for another mark. Every frame of a filled gap
// had a lost coordinate filled, so the whole gap takes the origin of the way it was filled.
#include "engine/processing/gap_fill.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "engine/processing/donor_fill.h"
#include "engine/processing/knot_spline.h"

namespace {

double& axis_of(Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }
double axis_of(const Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

// A knot's influence on the natural spline falls geometrically with each knot between (by at
// least a third: the moment equations are diagonally dominant by a factor of two), so the spline
// through this many seen frames on each side of a gap equals the spline through the whole
// interval far below a coordinate's precision, at a cost that does not grow with the capture.
constexpr int SPLINE_SIDE_KNOTS = 64;

// Writes the natural spline through the seen coordinates into the lost ones of out[0..] for the
// frames of `gap`, which has a seen frame on each side, axis by axis.
void spline_fill_gap(const Sample* samples, FrameRun gap, int first_frame, int last_frame, Sample* out) {
    std::vector<double> t, y, m, scratch;
    for (int axis = 0; axis < 3; ++axis) {
        const auto knot = [&](int f) { return !is_lost(axis_of(samples[f], axis)); };
        int from = gap.first;
        for (int knots = 0; from > first_frame && knots < SPLINE_SIDE_KNOTS;) knots += knot(--from);
        int to = gap.last;
        for (int knots = 0; to < last_frame && knots < SPLINE_SIDE_KNOTS;) knots += knot(++to);
        t.clear();
        y.clear();
        for (int f = from; f <= to; ++f) {
            if (!knot(f)) continue;
            t.push_back(f);
            y.push_back(axis_of(samples[f], axis));
        }
        const int n = static_cast<int>(t.size());
        m.resize(n);
        scratch.resize(2 * n);
        knot_spline_moments(t.data(), y.data(), n, m.data(), scratch.data());
        int k = 0;  // the knot at or before the frame
        for (int f = gap.first; f <= gap.last; ++f) {
            if (knot(f)) continue;
            while (t[k + 1] < f) ++k;
            axis_of(out[f - gap.first], axis) = knot_spline_at(t.data(), y.data(), m.data(), k, f);
        }
    }
}

struct PendingFill {
    FilledGap gap;
    size_t offset;  // of its frames in the buffer of filled samples
};

}  // namespace

std::vector<FilledGap> fill_gaps(CaptureData& data, const std::vector<int>& marks, const FillSettings& settings) {
    const int first = std::max(0, settings.first_frame);
    const int last = std::min(data.num_frames - 1, settings.last_frame);
    std::vector<FilledGap> report;
    if (last - first < 2) return report;  // no gap can have seen frames on both sides

    const std::vector<std::vector<FrameRun>> unseen = unseen_runs(data, first, last);
    DonorTable table;  // made when the first gap needs donors
    std::vector<bool> done(data.mark_count());
    std::vector<PendingFill> pending;
    std::vector<Sample> filled;
    for (int mark : marks) {
        if (mark < 0 || mark >= data.mark_count() || done[mark] || data.channels[mark].empty()) continue;
        done[mark] = true;
        const Sample* samples = data.channels[mark].samples.get();
        DonorRanking ranking;
        bool ranked = false;
        for (const FrameRun& gap : unseen[mark]) {
            const int length = gap.last - gap.first + 1;
            if (gap.first == first || gap.last == last) continue;
            if (settings.max_gap > 0 && length > settings.max_gap) continue;
            const size_t offset = filled.size();
            filled.insert(filled.end(), samples + gap.first, samples + gap.last + 1);
            const bool use_donors = settings.method == FillMethod::rigid ||
                                    (settings.method == FillMethod::automatic && length > AUTO_SPLINE_LONGEST_GAP);
            FillMethod used = FillMethod::spline;
            if (use_donors) {
                if (table.marks == 0) table = donor_table(data, first, last);
                if (!ranked) ranking = rank_donors(table, mark);
                ranked = true;
                std::vector<Sample> estimate(length);
                if (donor_fill_gap(data, unseen, ranking, mark, gap, estimate.data())) {
                    used = FillMethod::rigid;
                    // Only the lost coordinates take the estimate; seen ones stay as they are.
                    for (int i = 0; i < length; ++i) {
                        for (int axis = 0; axis < 3; ++axis) {
                            double& target = axis_of(filled[offset + i], axis);
                            if (is_lost(target)) target = axis_of(estimate[i], axis);
                        }
                    }
                }
            }
            if (used == FillMethod::spline) {
                spline_fill_gap(samples, gap, first, last, filled.data() + offset);
            }
            pending.push_back({{mark, gap.first, gap.last, used}, offset});
        }
    }

    int origins_mark = -1;  // pending fills come mark by mark
    SampleOrigin* origins = nullptr;
    for (const PendingFill& fill : pending) {
        const int length = fill.gap.last - fill.gap.first + 1;
        std::copy_n(filled.data() + fill.offset, length, data.channels[fill.gap.mark].samples.get() + fill.gap.first);
        if (fill.gap.mark != origins_mark) {
            origins_mark = fill.gap.mark;
            origins = writable_origins(data, origins_mark);
        }
        std::fill_n(origins + fill.gap.first, length,
                    fill.gap.method == FillMethod::rigid ? SampleOrigin::fill_marks : SampleOrigin::fill_spline);
        report.push_back(fill.gap);
    }
    return report;
}

int default_max_gap(double capture_rate) {
    const double half_second = capture_rate / 2;
    // A rate that is no number of frames leaves a single frame, never the unlimited 0.
    if (!(half_second >= 1)) return 1;
    return half_second >= INT_MAX ? INT_MAX : static_cast<int>(std::lround(half_second));
}

const char* fill_method_name(FillMethod method) {
    switch (method) {
    case FillMethod::spline: return "spline";
    case FillMethod::rigid: return "rigid";
    case FillMethod::automatic: return "auto";
    }
    return "";
}

bool parse_fill_method(const std::string& text, FillMethod& method) {
    for (FillMethod candidate : {FillMethod::spline, FillMethod::rigid, FillMethod::automatic}) {
        if (text == fill_method_name(candidate)) {
            method = candidate;
            return true;
        }
    }
    return false;
}
