// The candidates a gap can be filled with (the spline, a straight line, the rigid motion of three
// donors), and which of them a method tries.
#include "engine/processing/gap_fill_context.h"

#include <algorithm>
#include <optional>

#include "engine/processing/knot_spline.h"

namespace {

double& axis_of(Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

// A knot's influence on the natural spline falls geometrically with each knot between (by at
// least a third: the moment equations are diagonally dominant by a factor of two), so the spline
// through this many seen frames on each side of a gap equals the spline through the whole
// interval far below a coordinate's precision, at a cost that does not grow with the capture.
constexpr int SPLINE_SIDE_KNOTS = 32;
// Judging a fill on a hidden stretch needs its error to a few digits only: fewer knots do.
constexpr int JUDGED_SPLINE_SIDE_KNOTS = 10;
// The frames of a hidden stretch a rigid fill is judged on, at most (about: every k-th frame).
constexpr int JUDGED_RIGID_FRAMES = 4;

}  // namespace

void linear_fill_gap(const Sample* samples, FrameRun gap, Sample* out) {
    const Sample& a = samples[gap.first - 1];
    const Sample& b = samples[gap.last + 1];
    const double span = gap.last - gap.first + 2;
    for (int f = gap.first; f <= gap.last; ++f) {
        const double w = (f - gap.first + 1) / span;
        for (int axis = 0; axis < 3; ++axis) {
            double& target = axis_of(out[f - gap.first], axis);
            if (is_lost(target)) target = axis_coordinate(a, axis) + w * (axis_coordinate(b, axis) - axis_coordinate(a, axis));
        }
    }
}

namespace {

// Rigid fill from `triple` into the lost coordinates of out; false when it cannot be made.
bool rigid_fill_into(const CaptureData& data, const DonorTriple& triple, int mark, FrameRun gap, Sample* out,
                     bool skip_unseen, int stride) {
    thread_local std::vector<Sample> estimate;
    estimate.assign(gap.last - gap.first + 1, {LOST_VALUE, LOST_VALUE, LOST_VALUE});
    if (!rigid_fill_from(data, triple, mark, gap, estimate.data(), skip_unseen, stride)) return false;
    for (size_t i = 0; i < estimate.size(); ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            double& target = axis_of(out[i], axis);
            if (is_lost(target)) target = axis_coordinate(estimate[i], axis);
        }
    }
    return true;
}

}  // namespace

FillContext::FillContext(const CaptureData& data, int first_frame, int last_frame)
    : data(data),
      first_frame(first_frame),
      last_frame(last_frame),
      unseen(data, first_frame, last_frame),
      rankings_(data.mark_count()),
      ranked_(data.mark_count()) {}

const DonorRanking& FillContext::ranking(int mark) {
    if (!ranked_[mark]) {
        if (table_.marks == 0) table_ = donor_table(data, first_frame, last_frame);
        rankings_[mark] = rank_donors(table_, mark);
        ranked_[mark] = true;
    }
    return rankings_[mark];
}

void FillContext::prepare_for_threads(int threads, bool with_donors, int marks_filled) {
    unseen.find_every_mark(threads);
    if (!with_donors) return;
    if (table_.marks == 0) table_ = donor_table(data, first_frame, last_frame, threads);
    // Ranking every mark at once costs what ranking half of them one by one does.
    if (2 * marks_filled > data.mark_count()) {
        rankings_ = rank_every_mark(table_, threads);
        std::fill(ranked_.begin(), ranked_.end(), true);
    }
}

namespace {

int lost_coordinates(const Sample& s) { return is_lost(s.x) + is_lost(s.y) + is_lost(s.z); }

// The natural spline of the given axes through their knots around the gap, into out; the axes
// must share their knots (a knot being a frame where the axis is seen, outside `hidden`). With
// several axes, false without writing anything when some frame of the knots' span or the gap
// has only some of its coordinates lost: there the axes' knots may differ.
bool spline_fill_axes(const Sample* samples, FrameRun gap, int first_frame, int last_frame, FrameRun hidden,
                      const int* axes, int count, Sample* out) {
    // Kept from call to call: a fill of every mark solves a spline for each of thousands of gaps.
    thread_local std::vector<double> t, scratch, y[MOST_SPLINE_CURVES], m[MOST_SPLINE_CURVES];
    const auto knot = [&](int f) {
        return !is_lost(axis_coordinate(samples[f], axes[0])) && (f < hidden.first || f > hidden.last);
    };
    const int side_knots = hidden.first <= hidden.last ? JUDGED_SPLINE_SIDE_KNOTS : SPLINE_SIDE_KNOTS;
    int from = gap.first;
    for (int knots = 0; from > first_frame && knots < side_knots;) knots += knot(--from);
    int to = gap.last;
    for (int knots = 0; to < last_frame && knots < side_knots;) knots += knot(++to);
    const size_t span = static_cast<size_t>(to - from + 1);
    t.resize(span);
    for (int c = 0; c < count; ++c) y[c].resize(span);
    int n = 0;
    for (int f = from; f <= to; ++f) {
        if (count > 1 && lost_coordinates(samples[f]) % 3 != 0) return false;
        if (!knot(f)) continue;
        t[n] = f;
        for (int c = 0; c < count; ++c) y[c][n] = axis_coordinate(samples[f], axes[c]);
        ++n;
    }
    const double* values[MOST_SPLINE_CURVES];
    double* moments[MOST_SPLINE_CURVES];
    for (int c = 0; c < count; ++c) {
        m[c].resize(n);
        values[c] = y[c].data();
        moments[c] = m[c].data();
    }
    scratch.resize((1 + count) * static_cast<size_t>(n));
    knot_spline_moments(t.data(), values, count, n, moments, scratch.data());
    // The piece of each axis's spline the frame lies on, found again only when the frame moves
    // past a knot.
    std::optional<KnotSegment> pieces[MOST_SPLINE_CURVES];
    int k = 0;  // the knot at or before the frame
    for (int f = gap.first; f <= gap.last; ++f) {
        if (knot(f)) continue;
        const bool moved = !pieces[0] || t[k + 1] < f;
        while (t[k + 1] < f) ++k;
        for (int c = 0; c < count; ++c) {
            if (moved) pieces[c].emplace(t.data(), values[c], moments[c], k);
            axis_of(out[f - gap.first], axes[c]) = pieces[c]->at(f);
        }
    }
    return true;
}

}  // namespace

void spline_fill_gap(const Sample* samples, FrameRun gap, int first_frame, int last_frame, FrameRun hidden,
                     Sample* out) {
    // A frame's coordinates are nearly always lost together, so the three axes nearly always share
    // their knots and one elimination; where they do not, each axis is solved on its own.
    static const int AXES[3] = {0, 1, 2};
    if (spline_fill_axes(samples, gap, first_frame, last_frame, hidden, AXES, 3, out)) return;
    for (const int& axis : AXES) spline_fill_axes(samples, gap, first_frame, last_frame, hidden, &axis, 1, out);
}

std::string rigid_method_name(const CaptureData& data, const DonorTriple& triple) {
    std::string name = "rigid:";
    for (int d = 0; d < 3; ++d) name += (d ? "," : "") + data.channels[triple[d]].name_text();
    return name;
}

GapFillResult fill_gap(FillContext& context, int mark, FrameRun gap, FillMethod method, const std::vector<int>& donors) {
    const CaptureData& data = context.data;
    const int length = gap.last - gap.first + 1;
    std::vector<FillCandidate> candidates;
    if (method == FillMethod::linear) {
        candidates.push_back({FillCandidate::linear, {}});
    } else if (!donors.empty() && method != FillMethod::spline) {
        const DonorTriple triple = {donors[0], donors[1], donors[2]};
        for (int d : triple) {
            if (!seen_throughout(context.unseen[d], gap.first - 1, gap.last + 1)) {
                GapFillResult refused;
                refused.reason = "donor " + data.channels[d].name_text() + " is not seen across the gap";
                return refused;
            }
        }
        candidates.push_back({FillCandidate::rigid, triple});
    } else {
        candidates.push_back({FillCandidate::spline, {}});
        if (method != FillMethod::spline) {
            DonorTriple triples[AUTO_TRIPLES_TRIED];
            const int wanted = method == FillMethod::rigid ? 1 : AUTO_TRIPLES_TRIED;
            const int found = best_donor_triples(data, context.unseen, context.ranking(mark),
                                                 {gap.first - 1, gap.last + 1}, wanted, triples);
            for (int i = 0; i < found; ++i) candidates.push_back({FillCandidate::rigid, triples[i]});
            // The rigid fill falls back to the spline only when no triple can be used.
            if (method == FillMethod::rigid && found > 0) candidates.erase(candidates.begin());
        }
        if (method == FillMethod::automatic && length <= LINEAR_LONGEST_GAP) {
            candidates.push_back({FillCandidate::linear, {}});
        }
    }
    GapFillResult result = fill_by_candidates(context, mark, gap, candidates);
    if (!result.filled && !donors.empty()) result.reason = "the donors do not fix a rotation (they lie on one line)";
    return result;
}

bool candidate_fill(FillContext& context, const FillCandidate& candidate, int mark, FrameRun gap, FrameRun hidden,
                    Sample* out) {
    const Sample* samples = context.data.channels[mark].samples.get();
    switch (candidate.kind) {
    case FillCandidate::spline:
        spline_fill_gap(samples, gap, context.first_frame, context.last_frame, hidden, out);
        return true;
    case FillCandidate::linear: linear_fill_gap(samples, gap, out); return true;
    // On a hidden stretch the donors may be lost here and there: those frames are not judged; nor
    // are all frames of a long stretch, whose error a few of them tell as well.
    case FillCandidate::rigid: {
        const bool judged = hidden.first <= hidden.last;
        const int stride = judged ? std::max(1, (gap.last - gap.first + 1) / JUDGED_RIGID_FRAMES) : 1;
        return rigid_fill_into(context.data, candidate.triple, mark, gap, out, judged, stride);
    }
    }
    return false;
}

std::string candidate_name(const CaptureData& data, const FillCandidate& candidate) {
    switch (candidate.kind) {
    case FillCandidate::spline: return "spline";
    case FillCandidate::linear: return "linear";
    case FillCandidate::rigid: return rigid_method_name(data, candidate.triple);
    }
    return "";
}
