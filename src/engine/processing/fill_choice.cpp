// The automatic choice: each candidate fills stretches of the mark's own seen frames, as long as
// the gap and hidden in turn (just before and just after the gap, elsewhere in the mark when the
// seen frames there are too few), and its error against the hidden values estimates its error in
// the gap. The closest candidate fills the gap, or the blend of the two closest, weighted by their
// inverse squared errors, when the blend comes closer still.
#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/processing/gap_fill_context.h"

namespace {

// Stretches each candidate is judged on, and the most places looked at for them.
constexpr int STRETCHES = 4;
constexpr int MOST_STRETCHES = 10;

// A blend must come measurably closer than the closest candidate alone: blending an exact fill
// with another gains nothing but rounding.
constexpr double BLEND_GAIN = 0.999;

constexpr double INFINITE = std::numeric_limits<double>::infinity();
const Sample LOST_SAMPLE = {LOST_VALUE, LOST_VALUE, LOST_VALUE};

// Seen frames left between a stretch and the gap, so that the spline has knots on that side as it
// has around the gap itself.
int margin_for(int length) { return length / 2 + 2; }

// The runs of frames where the mark is seen over the context's interval, from the unseen ones.
FrameRun seen_run(const FillContext& context, int mark, size_t index) {
    const std::vector<FrameRun>& unseen = context.unseen[mark];
    return {index == 0 ? context.first_frame : unseen[index - 1].last + 1,
            index == unseen.size() ? context.last_frame : unseen[index].first - 1};
}

// Places to hide a stretch of `length` frames, each with a seen frame on either side, where the
// mark is seen, nearest first: next to the gap on each side, then towards the far ends of the seen
// runs next to it (a margin away from them where there is room, since a spline near the end of
// what is seen is judged unfairly), then in the middle of those runs and of the nearest other runs
// long enough. A candidate is judged on the first STRETCHES of them it can be made on (donors can
// be lost on some).
int find_stretches(const FillContext& context, int mark, FrameRun gap, FrameRun* out) {
    const int length = gap.last - gap.first + 1;
    const int margin = margin_for(length);
    const std::vector<FrameRun>& unseen = context.unseen[mark];
    // The seen run just after the gap is run `after`; the one just before, run `after - 1`.
    const size_t after = std::upper_bound(unseen.begin(), unseen.end(), gap.last,
                                          [](int frame, const FrameRun& run) { return frame < run.first; }) -
                         unseen.begin();
    int count = 0;
    FrameRun far[2];
    int far_count = 0;
    if (after > 0) {
        const FrameRun run = seen_run(context, mark, after - 1);
        if (run.last == gap.first - 1) {
            const int first = std::max(run.first + 1, run.last - margin - length + 1);
            if (first + length <= run.last) {
                out[count++] = {first, first + length - 1};
                const int far_first = std::min(run.first + 1 + margin, first - length);
                if (far_first > run.first) far[far_count++] = {far_first, far_first + length - 1};
            }
        }
    }
    if (after <= unseen.size()) {
        const FrameRun run = seen_run(context, mark, after);
        if (run.first == gap.last + 1) {
            const int last = std::min(run.last - 1, run.first + margin + length - 1);
            if (last - length >= run.first) {
                out[count++] = {last - length + 1, last};
                const int far_last = std::max(run.last - 1 - margin, last + length);
                if (far_last < run.last) far[far_count++] = {far_last - length + 1, far_last};
            }
        }
    }
    for (int i = 0; i < far_count; ++i) out[count++] = far[i];
    // The middle of the runs next to the gap, which in a short capture may be all there is.
    for (size_t index : {after - 1, after}) {
        if (index > unseen.size()) continue;
        const FrameRun run = seen_run(context, mark, index);
        if (run.last - run.first + 1 < length + 2) continue;
        const int first = (run.first + run.last - length + 1) / 2;
        out[count++] = {first, first + length - 1};
    }
    for (size_t step = 1; count < MOST_STRETCHES && (step < after || after + step <= unseen.size()); ++step) {
        for (const bool before : {true, false}) {
            if (count == MOST_STRETCHES) break;
            if (before ? step >= after : after + step > unseen.size()) continue;
            const FrameRun run = seen_run(context, mark, before ? after - 1 - step : after + step);
            if (run.last - run.first + 1 < length + 2) continue;
            const int first = (run.first + run.last - length + 1) / 2;
            out[count++] = {first, first + length - 1};
        }
    }
    return count;
}

// A rigid fill needs its donors seen on the frames on either side of the stretch.
bool usable_on(const FillContext& context, const FillCandidate& candidate, FrameRun stretch) {
    if (candidate.kind != FillCandidate::rigid) return true;
    for (int d : candidate.triple) {
        const std::vector<FrameRun>& unseen = context.unseen[d];
        if (!seen_throughout(unseen, stretch.first - 1, stretch.first - 1) ||
            !seen_throughout(unseen, stretch.last + 1, stretch.last + 1)) {
            return false;
        }
    }
    return true;
}

double squared_distance(const Sample& a, const Sample& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// What each candidate did on the stretches: its values there (empty where it could not be made)
// and its error.
struct Trial {
    std::vector<std::vector<Sample>> values;  // by stretch
    double squares = 0;
    int frames = 0;
    double estimate() const { return frames > 0 ? std::sqrt(squares / frames) : INFINITE; }
};

// The two candidates blended with weights w and 1 - w.
Sample blend(const Sample& a, const Sample& b, double w) {
    return {w * a.x + (1 - w) * b.x, w * a.y + (1 - w) * b.y, w * a.z + (1 - w) * b.z};
}

}  // namespace

GapFillResult fill_by_candidates(FillContext& context, int mark, FrameRun gap,
                                 const std::vector<FillCandidate>& candidates) {
    const CaptureData& data = context.data;
    const Sample* samples = data.channels[mark].samples.get();
    const int length = gap.last - gap.first + 1;
    GapFillResult result;
    if (candidates.empty()) return result;

    FrameRun stretches[MOST_STRETCHES];
    const int stretch_count = find_stretches(context, mark, gap, stretches);
    // Kept from gap to gap, emptied but not freed: a fill of every mark judges thousands of gaps.
    thread_local std::vector<Trial> trials;
    if (trials.size() < candidates.size()) trials.resize(candidates.size());
    for (size_t c = 0; c < candidates.size(); ++c) {
        Trial& trial = trials[c];
        trial.squares = 0;
        trial.frames = 0;
        trial.values.resize(std::max<size_t>(trial.values.size(), MOST_STRETCHES));
        for (std::vector<Sample>& values : trial.values) values.clear();
        for (int s = 0, judged = 0; s < stretch_count && judged < STRETCHES; ++s) {
            if (!usable_on(context, candidates[c], stretches[s])) continue;
            std::vector<Sample>& values = trial.values[s];
            values.assign(length, LOST_SAMPLE);
            if (!candidate_fill(context, candidates[c], mark, stretches[s], stretches[s], values.data())) {
                values.clear();
                continue;
            }
            for (int i = 0; i < length; ++i) {
                if (is_lost(values[i].x)) continue;
                trial.squares += squared_distance(values[i], samples[stretches[s].first + i]);
                ++trial.frames;
            }
            ++judged;
        }
    }

    // The closest two.
    std::vector<size_t> order(candidates.size());
    for (size_t c = 0; c < order.size(); ++c) order[c] = c;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return trials[a].estimate() < trials[b].estimate(); });
    // Donors that are lost wherever the mark could be judged cannot be judged; when no triple
    // could, a long gap is filled from the best one as before the choice was judged, since the
    // spline is seldom close over many frames.
    const auto judged_rigid = [&](size_t c) { return candidates[c].kind == FillCandidate::rigid && trials[c].frames > 0; };
    const auto unjudged_rigid = [&](size_t c) { return candidates[c].kind == FillCandidate::rigid && trials[c].frames == 0; };
    const auto first_unjudged = std::find_if(order.begin(), order.end(), unjudged_rigid);
    const bool by_length = length > AUTO_SPLINE_LONGEST_GAP && first_unjudged != order.end() &&
                           std::none_of(order.begin(), order.end(), judged_rigid);
    if (by_length) std::rotate(order.begin(), first_unjudged, first_unjudged + 1);
    double estimate = trials[order[0]].frames > 0 ? trials[order[0]].estimate() : NAN;

    // The blend, judged on the stretches where both were made.
    int second = -1;
    double weight = 1;
    if (!by_length && order.size() > 1 && trials[order[1]].frames > 0 && trials[order[0]].estimate() > 0) {
        const Trial& a = trials[order[0]];
        const Trial& b = trials[order[1]];
        const double wa = 1 / (a.estimate() * a.estimate()), wb = 1 / (b.estimate() * b.estimate());
        const double w = wa / (wa + wb);
        double blended = 0, alone = 0;
        int frames = 0;
        for (int s = 0; s < stretch_count; ++s) {
            if (a.values[s].empty() || b.values[s].empty()) continue;
            for (int i = 0; i < length; ++i) {
                if (is_lost(a.values[s][i].x) || is_lost(b.values[s][i].x)) continue;
                const Sample& truth = samples[stretches[s].first + i];
                blended += squared_distance(blend(a.values[s][i], b.values[s][i], w), truth);
                alone += squared_distance(a.values[s][i], truth);
                ++frames;
            }
        }
        if (frames > 0 && blended < BLEND_GAIN * alone) {
            second = static_cast<int>(order[1]);
            weight = w;
            estimate = std::sqrt(blended / frames);
        }
    }

    // The gap itself; a candidate that cannot be made there gives way to the next.
    result.values.assign(samples + gap.first, samples + gap.last + 1);
    size_t chosen = 0;
    for (; chosen < order.size(); ++chosen) {
        if (candidate_fill(context, candidates[order[chosen]], mark, gap, {1, 0}, result.values.data())) break;
    }
    if (chosen == order.size()) {
        GapFillResult refused;
        refused.reason = "no fill could be made for the gap";
        return refused;
    }
    if (chosen > 0) {
        second = -1;
        estimate = trials[order[chosen]].frames > 0 ? trials[order[chosen]].estimate() : NAN;
    }
    const FillCandidate& first = candidates[order[chosen]];
    result.method = candidate_name(data, first);
    if (second >= 0) {
        std::vector<Sample> other(samples + gap.first, samples + gap.last + 1);
        if (candidate_fill(context, candidates[second], mark, gap, {1, 0}, other.data())) {
            for (int i = 0; i < length; ++i) {
                const Sample& seen = samples[gap.first + i];
                const Sample mixed = blend(result.values[i], other[i], weight);
                // Coordinates seen in the gap stay as they are.
                if (is_lost(seen.x)) result.values[i].x = mixed.x;
                if (is_lost(seen.y)) result.values[i].y = mixed.y;
                if (is_lost(seen.z)) result.values[i].z = mixed.z;
            }
            result.method = "blend:" + result.method + "+" + candidate_name(data, candidates[second]);
        } else {
            second = -1;
            estimate = trials[order[chosen]].estimate();
        }
    }
    for (const FillCandidate* used : {&first, second >= 0 ? &candidates[second] : nullptr}) {
        if (!used || used->kind != FillCandidate::rigid) continue;
        result.origin = SampleOrigin::fill_marks;
        if (result.donors.empty()) result.donors.assign(used->triple.begin(), used->triple.end());
    }
    // A fill that could not be judged: for donors, how far forward and back disagree.
    if (std::isnan(estimate) && first.kind == FillCandidate::rigid) {
        std::vector<Sample> scratch(length);
        rigid_fill_from(data, first.triple, mark, gap, scratch.data(), false, 1, &estimate);
    }
    result.estimated_error = estimate;
    result.filled = true;
    return result;
}
