// The candidates a gap can be filled with (the spline, a straight line, the rigid motion of three
// donors) and the choice among them.
#include "engine/processing/gap_fill_context.h"

#include <algorithm>

#include "engine/processing/knot_spline.h"

namespace {

double& axis_of(Sample& s, int axis) { return axis == 0 ? s.x : axis == 1 ? s.y : s.z; }

// A knot's influence on the natural spline falls geometrically with each knot between (by at
// least a third: the moment equations are diagonally dominant by a factor of two), so the spline
// through this many seen frames on each side of a gap equals the spline through the whole
// interval far below a coordinate's precision, at a cost that does not grow with the capture.
constexpr int SPLINE_SIDE_KNOTS = 64;

// The straight line between the frames just before and after the gap, into its lost coordinates.
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

// Rigid fill from `triple` into the lost coordinates of out; false when it cannot be made.
bool rigid_fill_into(const CaptureData& data, const DonorTriple& triple, int mark, FrameRun gap, Sample* out) {
    std::vector<Sample> estimate(gap.last - gap.first + 1);
    if (!rigid_fill_from(data, triple, mark, gap, estimate.data())) return false;
    for (size_t i = 0; i < estimate.size(); ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            double& target = axis_of(out[i], axis);
            if (is_lost(target)) target = axis_coordinate(estimate[i], axis);
        }
    }
    return true;
}

void set_rigid(GapFillResult& result, const CaptureData& data, const DonorTriple& triple) {
    result.method = rigid_method_name(data, triple);
    result.origin = SampleOrigin::fill_marks;
    result.donors.assign(triple.begin(), triple.end());
}

}  // namespace

FillContext::FillContext(const CaptureData& data, int first_frame, int last_frame)
    : data(data),
      first_frame(first_frame),
      last_frame(last_frame),
      unseen(unseen_runs(data, first_frame, last_frame)),
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

void spline_fill_gap(const Sample* samples, FrameRun gap, int first_frame, int last_frame, FrameRun hidden,
                     Sample* out) {
    std::vector<double> t, y, m, scratch;
    for (int axis = 0; axis < 3; ++axis) {
        const auto knot = [&](int f) {
            return !is_lost(axis_coordinate(samples[f], axis)) && (f < hidden.first || f > hidden.last);
        };
        int from = gap.first;
        for (int knots = 0; from > first_frame && knots < SPLINE_SIDE_KNOTS;) knots += knot(--from);
        int to = gap.last;
        for (int knots = 0; to < last_frame && knots < SPLINE_SIDE_KNOTS;) knots += knot(++to);
        t.clear();
        y.clear();
        for (int f = from; f <= to; ++f) {
            if (!knot(f)) continue;
            t.push_back(f);
            y.push_back(axis_coordinate(samples[f], axis));
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

std::string rigid_method_name(const CaptureData& data, const DonorTriple& triple) {
    std::string name = "rigid:";
    for (int d = 0; d < 3; ++d) name += (d ? "," : "") + data.channels[triple[d]].name_text();
    return name;
}

GapFillResult fill_gap(FillContext& context, int mark, FrameRun gap, FillMethod method, const std::vector<int>& donors) {
    const CaptureData& data = context.data;
    const Sample* samples = data.channels[mark].samples.get();
    GapFillResult result;
    result.values.assign(samples + gap.first, samples + gap.last + 1);
    const int length = gap.last - gap.first + 1;
    if (method == FillMethod::linear) {
        linear_fill_gap(samples, gap, result.values.data());
        result.method = "linear";
        result.filled = true;
        return result;
    }
    if (!donors.empty() && method != FillMethod::spline) {
        const DonorTriple triple = {donors[0], donors[1], donors[2]};
        for (int d : triple) {
            if (!seen_throughout(context.unseen[d], gap.first - 1, gap.last + 1)) {
                result.reason = "donor " + data.channels[d].name_text() + " is not seen across the gap";
                return result;
            }
        }
        if (!rigid_fill_into(data, triple, mark, gap, result.values.data())) {
            result.reason = "the donors do not fix a rotation (they lie on one line)";
            return result;
        }
        set_rigid(result, data, triple);
        result.filled = true;
        return result;
    }
    const bool use_donors =
        method == FillMethod::rigid || (method == FillMethod::automatic && length > AUTO_SPLINE_LONGEST_GAP);
    if (use_donors) {
        DonorTriple triple;
        if (best_donor_triples(data, context.unseen, context.ranking(mark), {gap.first - 1, gap.last + 1}, 1, &triple) ==
                1 &&
            rigid_fill_into(data, triple, mark, gap, result.values.data())) {
            set_rigid(result, data, triple);
            result.filled = true;
            return result;
        }
    }
    spline_fill_gap(samples, gap, context.first_frame, context.last_frame, {1, 0}, result.values.data());
    result.method = "spline";
    result.filled = true;
    return result;
}
