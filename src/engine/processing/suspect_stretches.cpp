// The jump and swap detector. It works on second differences (capture units per frame²); the
// threshold the caller sees is in units per second², the second difference times the rate squared.
#include "engine/processing/suspect_stretches.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace {

// The default limit is the median acceleration plus this many robust standard deviations
// (1.4826 × the median absolute deviation) of every acceleration the capture has. Real motion
// seldom reaches it; a marker the cameras put a few centimetres off its path exceeds it many times.
constexpr double SPREAD_FACTOR = 12.0;
constexpr double MAD_TO_SIGMA = 1.4826;
// The limit is never below this fraction of the capture's extent per frame², so that a perfectly
// smooth capture (spread 0) does not call rounding noise a jump.
constexpr double EXTENT_FLOOR = 1e-6;
// Nor below this fraction of the size of what was captured (the largest side of the box of the
// marks seen on one frame, the median of a few frames spread over the capture): on a fast capture
// the spread is the cameras' noise, far below the small steps real marker reconstruction takes,
// and on a slow one feet striking the floor are faster than the rest; a fault worth mending
// moves a mark further than either.
constexpr double SIZE_FRACTION = 0.02;
constexpr int SIZE_FRAMES = 5;
// At most this many accelerations are gathered to choose the limit; longer captures are sampled
// evenly.
constexpr long THRESHOLD_SAMPLES = 2'000'000;
constexpr int SAMPLED_BLOCK = 256;
// Flagged frames this close together belong to one event: a marker off its path for five frames
// is flagged one frame before, on its first and last frame, and one frame after.
constexpr int CLUSTER_REACH = 4;
// The longest stretch the mend test tries.
constexpr int LONGEST_MENDED = 9;

struct Vec {
    double x, y, z;
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y, s * a.z}; }
double length(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

Vec vec(const Sample& s) { return {s.x, s.y, s.z}; }
bool seen(const Sample& s) { return !is_lost(s.x) && !is_lost(s.y) && !is_lost(s.z); }

// The second difference at frame f of mark `samples`; negative when f has no seen frame on both
// sides.
double second_difference(const Sample* samples, int frames, int f) {
    if (f < 1 || f > frames - 2) return -1;
    if (!seen(samples[f - 1]) || !seen(samples[f]) || !seen(samples[f + 1])) return -1;
    return length(vec(samples[f + 1]) - 2.0 * vec(samples[f]) + vec(samples[f - 1]));
}

double rate_squared(const CaptureData& data) {
    const double rate = data.capture_rate > 0 ? data.capture_rate : 1.0;
    return rate * rate;
}

// The largest coordinate range over every seen sample of the capture.
double capture_extent(const CaptureData& data) {
    Vec low{1e300, 1e300, 1e300}, high{-1e300, -1e300, -1e300};
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        if (!samples) continue;
        for (int f = 0; f < data.num_frames; ++f) {
            if (!seen(samples[f])) continue;
            low = {std::min(low.x, samples[f].x), std::min(low.y, samples[f].y), std::min(low.z, samples[f].z)};
            high = {std::max(high.x, samples[f].x), std::max(high.y, samples[f].y), std::max(high.z, samples[f].z)};
        }
    }
    const Vec range = high - low;
    return std::max({range.x, range.y, range.z, 0.0});
}

// The median over a few frames of the largest side of the box of the marks seen on the frame.
double typical_size(const CaptureData& data) {
    std::vector<double> sizes;
    for (int k = 0; k < SIZE_FRAMES && data.num_frames > 0; ++k) {
        const int f = static_cast<int>((k + 0.5) * data.num_frames / SIZE_FRAMES);
        Vec low{1e300, 1e300, 1e300}, high{-1e300, -1e300, -1e300};
        for (int m = 0; m < data.mark_count(); ++m) {
            const Sample* samples = data.channels[m].samples.get();
            if (!samples || !seen(samples[f])) continue;
            low = {std::min(low.x, samples[f].x), std::min(low.y, samples[f].y), std::min(low.z, samples[f].z)};
            high = {std::max(high.x, samples[f].x), std::max(high.y, samples[f].y), std::max(high.z, samples[f].z)};
        }
        const Vec range = high - low;
        sizes.push_back(std::max({range.x, range.y, range.z, 0.0}));
    }
    if (sizes.empty()) return 0;
    const auto middle = sizes.begin() + sizes.size() / 2;
    std::nth_element(sizes.begin(), middle, sizes.end());
    return *middle;
}

// The limit in capture units per frame².
double frame_threshold(const CaptureData& data) {
    long available = 0;
    for (int m = 0; m < data.mark_count(); ++m) {
        if (data.channels[m].samples) available += std::max(0, data.num_frames - 2);
    }
    const int stride = static_cast<int>(std::max(1L, available / THRESHOLD_SAMPLES));
    std::vector<double> values;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        if (!samples) continue;
        // Whole blocks of frames are taken, so the samples skipped are never read.
        const int step = stride * SAMPLED_BLOCK;
        for (int block = 1 + (m * SAMPLED_BLOCK) % step; block < data.num_frames - 1; block += step) {
            for (int f = block; f < std::min(block + SAMPLED_BLOCK, data.num_frames - 1); ++f) {
                const double value = second_difference(samples, data.num_frames, f);
                if (value >= 0) values.push_back(value);
            }
        }
    }
    double floor = SIZE_FRACTION * typical_size(data);
    if (floor <= 0) floor = EXTENT_FLOOR * capture_extent(data);
    if (values.empty()) return floor;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    const double median = *middle;
    for (double& value : values) value = std::fabs(value - median);
    std::nth_element(values.begin(), middle, values.end());
    const double spread = MAD_TO_SIGMA * *middle;
    return std::max(floor, median + SPREAD_FACTOR * spread);
}

struct Flag {
    int frame;
    int mark;
};

// Appends the frames of mark m whose second difference exceeds `limit`. Each sample is tested
// for being seen once, and the comparison is made on squares.
void flag_mark(const Sample* samples, int frames, int m, double limit, std::vector<Flag>& flags) {
    const double limit_squared = limit * limit;
    bool before = frames > 0 && seen(samples[0]), now = frames > 1 && seen(samples[1]);
    for (int f = 1; f < frames - 1; ++f) {
        const bool next = seen(samples[f + 1]);
        if (before && now && next) {
            const Sample &a = samples[f - 1], &b = samples[f], &c = samples[f + 1];
            const double x = c.x - 2 * b.x + a.x, y = c.y - 2 * b.y + a.y, z = c.z - 2 * b.z + a.z;
            if (x * x + y * y + z * z > limit_squared) flags.push_back({f, m});
        }
        before = now;
        now = next;
    }
}

// Whether marks a and b exchange positions between frame f and f + 1: both leave their paths
// there, and each would have stayed on its path had it taken the other's next position.
bool swap_at(const CaptureData& data, int a, int b, int f, double limit) {
    const Sample* pa = data.channels[a].samples.get();
    const Sample* pb = data.channels[b].samples.get();
    const Vec a_before = vec(pa[f - 1]), a_now = vec(pa[f]), a_next = vec(pa[f + 1]);
    const Vec b_before = vec(pb[f - 1]), b_now = vec(pb[f]), b_next = vec(pb[f + 1]);
    const double own_a = length(a_next - 2.0 * a_now + a_before), own_b = length(b_next - 2.0 * b_now + b_before);
    const double crossed_a = length(b_next - 2.0 * a_now + a_before);
    const double crossed_b = length(a_next - 2.0 * b_now + b_before);
    return crossed_a <= limit && crossed_b <= limit && crossed_a < 0.5 * own_a && crossed_b < 0.5 * own_b;
}

// Whether marks a and b, swapped between frame f and f + 1, swap back at once: taking each
// other's position on frame f + 1 alone puts both back on their paths. The test of swap_at cannot
// see it, as the frame before the swap back is itself swapped.
bool swapped_back_at_once(const CaptureData& data, int a, int b, int f, double limit) {
    if (f + 2 >= data.num_frames) return false;
    const Sample* pa = data.channels[a].samples.get();
    const Sample* pb = data.channels[b].samples.get();
    if (!seen(pa[f + 2]) || !seen(pb[f + 2])) return false;
    return length(vec(pa[f + 2]) - 2.0 * vec(pb[f + 1]) + vec(pa[f])) <= limit &&
           length(vec(pb[f + 2]) - 2.0 * vec(pa[f + 1]) + vec(pb[f])) <= limit;
}

// The last frame from `from` on where both marks are seen without a break.
int last_seen_together(const CaptureData& data, int a, int b, int from) {
    const Sample* pa = data.channels[a].samples.get();
    const Sample* pb = data.channels[b].samples.get();
    int f = from;
    while (f + 1 < data.num_frames && seen(pa[f + 1]) && seen(pb[f + 1])) ++f;
    return f;
}

// The largest second difference over frames first - 1 .. last + 1 once frames first..last are
// replaced by a cubic from the two seen frames on each side; negative when the sides are not seen.
double mended_acceleration(const Sample* samples, int frames, int first, int last) {
    if (first < 2 || last > frames - 3) return -1;
    for (int f : {first - 2, first - 1, last + 1, last + 2}) {
        if (!seen(samples[f])) return -1;
    }
    const Vec p0 = vec(samples[first - 1]), p1 = vec(samples[last + 1]);
    const double span = last - first + 2;
    const Vec v0 = span * (p0 - vec(samples[first - 2])), v1 = span * (vec(samples[last + 2]) - p1);
    std::array<Vec, LONGEST_MENDED + 6> path;
    for (int f = first - 2; f <= last + 2; ++f) {
        Vec& p = path[f - first + 2];
        if (f < first || f > last) {
            p = vec(samples[f]);
            continue;
        }
        const double t = (f - first + 1) / span, t2 = t * t, t3 = t2 * t;
        p = (2 * t3 - 3 * t2 + 1) * p0 + (t3 - 2 * t2 + t) * v0 + (-2 * t3 + 3 * t2) * p1 + (t3 - t2) * v1;
    }
    double worst = 0;
    for (int f = first - 1; f <= last + 1; ++f) {
        const int i = f - first + 2;
        worst = std::max(worst, length(path[i + 1] - 2.0 * path[i] + path[i - 1]));
    }
    return worst;
}

// The frames of a jump whose flagged frames run from c0 to c1: the shortest stretch near them
// that, drawn again from its neighbours, leaves no acceleration over the limit; else the frames
// between the outer flags.
std::pair<int, int> jump_frames(const Sample* samples, int frames, int c0, int c1, double limit) {
    int best_first = -1, best_last = -1;
    double best_score = 0;
    for (int first = c0 - 1; first <= c0 + 1; ++first) {
        for (int last = std::max(first, c1 - 1); last <= c1 + 1; ++last) {
            if (last - first + 1 > LONGEST_MENDED) continue;
            const double score = mended_acceleration(samples, frames, first, last);
            if (score < 0 || score > limit) continue;
            const bool shorter = best_first < 0 || last - first < best_last - best_first;
            const bool as_short_better = last - first == best_last - best_first && score < best_score;
            if (shorter || as_short_better) {
                best_first = first;
                best_last = last;
                best_score = score;
            }
        }
    }
    if (best_first >= 0) return {best_first, best_last};
    if (c1 - c0 >= 2) return {c0 + 1, c1 - 1};
    return {c0, c1};
}

}  // namespace

double default_jump_threshold(const CaptureData& data) { return frame_threshold(data) * rate_squared(data); }

SuspectSearch find_suspect_stretches(const CaptureData& data, double threshold) {
    SuspectSearch search;
    const double to_frames = rate_squared(data);
    const double limit = threshold > 0 ? threshold / to_frames : frame_threshold(data);
    search.threshold = limit * to_frames;
    const int frames = data.num_frames;

    std::vector<Flag> flags;
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        if (!samples) continue;
        flag_mark(samples, frames, m, limit, flags);
    }
    std::sort(flags.begin(), flags.end(), [](const Flag& a, const Flag& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.mark < b.mark;
    });

    // Swaps: pairs flagged on one frame whose next positions are each other's. A swapped pair's
    // flags on that frame and the next are explained and take no further part.
    std::vector<std::array<int, 3>> swaps;  // frame, mark a, mark b
    std::vector<std::pair<int, int>> explained;  // mark, frame
    for (size_t begin = 0; begin < flags.size();) {
        size_t end = begin;
        while (end < flags.size() && flags[end].frame == flags[begin].frame) ++end;
        const int f = flags[begin].frame;
        std::vector<bool> used(end - begin, false);
        for (size_t i = begin; i < end; ++i) {
            for (size_t j = i + 1; j < end && !used[i - begin]; ++j) {
                if (used[j - begin] || !swap_at(data, flags[i].mark, flags[j].mark, f, limit)) continue;
                used[i - begin] = used[j - begin] = true;
                const int a = flags[i].mark, b = flags[j].mark;
                swaps.push_back({f, a, b});
                const bool at_once = swapped_back_at_once(data, a, b, f, limit);
                if (at_once) swaps.push_back({f + 1, a, b});
                for (int mark : {a, b}) {
                    for (int g = f; g <= f + 1 + at_once; ++g) explained.push_back({mark, g});
                }
            }
        }
        begin = end;
    }
    // An exchange and the next exchange of the same pair bound the frames the two marks spent
    // swapped; an exchange never undone lasts while both marks stay seen.
    std::map<std::pair<int, int>, std::vector<int>> by_pair;
    for (const auto& [f, a, b] : swaps) by_pair[{a, b}].push_back(f);
    for (const auto& [pair, exchanges] : by_pair) {
        for (size_t i = 0; i < exchanges.size(); i += 2) {
            const int first = exchanges[i] + 1;
            const int last = i + 1 < exchanges.size() ? exchanges[i + 1]
                                                       : last_seen_together(data, pair.first, pair.second, first);
            search.stretches.push_back({pair.first, first, last, SuspectKind::swap});
            search.stretches.push_back({pair.second, first, last, SuspectKind::swap});
        }
    }

    // Jumps: the remaining flags of each mark, gathered into events.
    std::sort(explained.begin(), explained.end());
    std::vector<std::vector<int>> remaining(data.mark_count());
    for (const Flag& flag : flags) {
        if (!std::binary_search(explained.begin(), explained.end(), std::pair{flag.mark, flag.frame})) {
            remaining[flag.mark].push_back(flag.frame);
        }
    }
    for (int m = 0; m < data.mark_count(); ++m) {
        const Sample* samples = data.channels[m].samples.get();
        const std::vector<int>& marked = remaining[m];
        for (size_t i = 0; i < marked.size();) {
            size_t j = i;
            // One event while the next flag is near and no lost frame lies between.
            while (j + 1 < marked.size() && marked[j + 1] - marked[j] <= CLUSTER_REACH &&
                   std::all_of(samples + marked[j], samples + marked[j + 1], seen)) {
                ++j;
            }
            const auto [first, last] = jump_frames(samples, frames, marked[i], marked[j], limit);
            search.stretches.push_back({m, first, last, SuspectKind::jump});
            i = j + 1;
        }
    }
    std::sort(search.stretches.begin(), search.stretches.end(), [](const SuspectStretch& a, const SuspectStretch& b) {
        return a.mark != b.mark ? a.mark < b.mark : a.first < b.first;
    });
    return search;
}

int cut_stretch(CaptureData& data, const SuspectStretch& stretch) {
    if (stretch.mark < 0 || stretch.mark >= data.mark_count() || !data.channels[stretch.mark].samples) return 0;
    const int first = std::max(0, stretch.first), last = std::min(data.num_frames - 1, stretch.last);
    Sample* samples = data.channels[stretch.mark].samples.get();
    SampleOrigin* origins = nullptr;
    int cut = 0;
    for (int f = first; f <= last; ++f) {
        if (is_lost(samples[f].x) && is_lost(samples[f].y) && is_lost(samples[f].z)) continue;
        // A lost sample is told by its value; the origin says the user removed it.
        if (!origins) origins = writable_origins(data, stretch.mark);
        samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
        origins[f] = SampleOrigin::edit;
        ++cut;
    }
    if (cut == 0) return 0;
    data.error_count = count_lost_values(data);
    note_samples_changed(data);
    return cut;
}

const char* suspect_kind_name(SuspectKind kind) { return kind == SuspectKind::jump ? "jump" : "swap"; }
