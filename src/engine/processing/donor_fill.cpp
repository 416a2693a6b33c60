// Donors are the marks whose distance to the gapped mark varies least over the capture: those
// moving with it (the same body segment). The motion of three of them from the frame before the
// gap to each gap frame carries the mark's last seen position forward; their motion from the
// frame after carries its next seen position back; the two estimates are blended linearly across
// the gap, so the fill meets the seen positions at both ends.
#include "engine/processing/donor_fill.h"

#include <algorithm>
#include <cmath>

#include "engine/processing/rigid_fit.h"
#include "platform/parallel_pieces.h"

namespace {

// The triple is looked for among this many of the best donors seen across the gap.
constexpr int DONOR_CANDIDATES = 8;
// A triangle flatter than this (twice its area over its longest side squared) does not fix a
// rotation well enough: its donors are nearly on one line, and the rotation about that line is
// mostly noise, which the distance to the gapped mark multiplies. On the real gait captures a
// bound of 0.15 (an angle of about 10 degrees in a long thin triangle) gave the best fills.
constexpr double FLATTEST_TRIANGLE = 0.15;

bool seen(const Sample& s) { return !is_lost(s.x) && !is_lost(s.y) && !is_lost(s.z); }

Point3 point(const Sample& s) { return {s.x, s.y, s.z}; }

bool triangle_fixes_rotation(const Sample& a, const Sample& b, const Sample& c) {
    const double u[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
    const double v[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
    const double w[3] = {c.x - b.x, c.y - b.y, c.z - b.z};
    const double cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const double twice_area = std::sqrt(cross[0] * cross[0] + cross[1] * cross[1] + cross[2] * cross[2]);
    const double longest = std::max({u[0] * u[0] + u[1] * u[1] + u[2] * u[2], v[0] * v[0] + v[1] * v[1] + v[2] * v[2],
                                      w[0] * w[0] + w[1] * w[1] + w[2] * w[2]});
    return longest > 0.0 && twice_area > FLATTEST_TRIANGLE * longest;
}

}  // namespace

bool seen_throughout(const std::vector<FrameRun>& runs, int first, int last) {
    auto after = std::upper_bound(runs.begin(), runs.end(), last,
                                  [](int frame, const FrameRun& run) { return frame < run.first; });
    return after == runs.begin() || std::prev(after)->last < first;
}

UnseenRuns::UnseenRuns(const CaptureData& data, int first_frame, int last_frame)
    : data_(data), first_frame_(first_frame), last_frame_(last_frame), runs_(data.mark_count()), found_(data.mark_count()) {}

namespace {

std::vector<FrameRun> find_unseen_runs(const Sample* samples, int first_frame, int last_frame) {
    std::vector<FrameRun> runs;
    if (!samples) return runs;
    for (int f = first_frame; f <= last_frame; ++f) {
        if (seen(samples[f])) continue;
        if (!runs.empty() && runs.back().last == f - 1) {
            runs.back().last = f;
        } else {
            runs.push_back({f, f});
        }
    }
    return runs;
}

}  // namespace

const std::vector<FrameRun>& UnseenRuns::operator[](int mark) const {
    if (!found_[mark]) {
        runs_[mark] = find_unseen_runs(data_.channels[mark].samples.get(), first_frame_, last_frame_);
        found_[mark] = true;
    }
    return runs_[mark];
}

void UnseenRuns::find_every_mark(int threads) const {
    const int marks = static_cast<int>(runs_.size());
    threads = std::max(1, std::min(threads, marks));
    run_pieces(threads, [&](int piece) {
        for (int mark = marks * piece / threads; mark < marks * (piece + 1) / threads; ++mark) (*this)[mark];
    });
}

int best_donor_triples(const CaptureData& data, const UnseenRuns& unseen,
                       const DonorRanking& ranking, FrameRun across, int wanted, DonorTriple* out) {
    int candidates[DONOR_CANDIDATES];
    int count = 0;
    for (size_t i = 0; i < ranking.marks.size() && count < DONOR_CANDIDATES; ++i) {
        if (seen_throughout(unseen[ranking.marks[i]], across.first, across.last)) candidates[count++] = static_cast<int>(i);
    }
    // Kept sorted by spread, at most `wanted` long: an insertion into a handful of entries.
    double spreads[DONOR_CANDIDATES * DONOR_CANDIDATES * DONOR_CANDIDATES];
    int found = 0;
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            for (int k = j + 1; k < count; ++k) {
                const double spread = ranking.spread[candidates[i]] + ranking.spread[candidates[j]] +
                                      ranking.spread[candidates[k]];
                if (found == wanted && spread >= spreads[found - 1]) continue;
                const DonorTriple triple = {ranking.marks[candidates[i]], ranking.marks[candidates[j]],
                                            ranking.marks[candidates[k]]};
                bool usable = true;
                for (int frame : {across.first, across.last}) {
                    usable = usable && triangle_fixes_rotation(data.channels[triple[0]].samples[frame],
                                                               data.channels[triple[1]].samples[frame],
                                                               data.channels[triple[2]].samples[frame]);
                }
                if (!usable) continue;
                int at = found < wanted ? found++ : found - 1;
                while (at > 0 && spreads[at - 1] > spread) {
                    spreads[at] = spreads[at - 1];
                    out[at] = out[at - 1];
                    --at;
                }
                spreads[at] = spread;
                out[at] = triple;
            }
        }
    }
    return found;
}

bool rigid_fill_from(const CaptureData& data, const DonorTriple& triple, int mark, FrameRun gap, Sample* out,
                     bool skip_unseen, int stride, double* disagreement) {
    double squares = 0;
    int frames = 0;
    const int before = gap.first - 1;
    const int after = gap.last + 1;
    const auto donor_points = [&](int frame, Point3* points) {
        for (int d = 0; d < 3; ++d) points[d] = point(data.channels[triple[d]].samples[frame]);
    };
    Point3 at_before[3], at_after[3], now[3];
    donor_points(before, at_before);
    donor_points(after, at_after);
    const Sample* own = data.channels[mark].samples.get();
    const Point3 mark_before = point(own[before]);
    const Point3 mark_after = point(own[after]);
    for (int f = gap.first + (stride - 1) / 2; f <= gap.last; f += stride) {
        if (skip_unseen && !(seen(data.channels[triple[0]].samples[f]) && seen(data.channels[triple[1]].samples[f]) &&
                             seen(data.channels[triple[2]].samples[f]))) {
            continue;
        }
        donor_points(f, now);
        RigidMotion forward, backward;
        if (!fit_rigid_motion(at_before, now, 3, forward) || !fit_rigid_motion(at_after, now, 3, backward)) {
            return false;
        }
        const Point3 a = forward.apply(mark_before);
        const Point3 b = backward.apply(mark_after);
        const double w = static_cast<double>(f - before) / (after - before);
        out[f - gap.first] = {a.x + w * (b.x - a.x), a.y + w * (b.y - a.y), a.z + w * (b.z - a.z)};
        squares += ((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z)) / 4;
        ++frames;
    }
    if (disagreement) *disagreement = frames > 0 ? std::sqrt(squares / frames) : 0.0;
    return true;
}
