// Where a mark's three coordinates are lost together (the usual case) x, y and z are filtered side
// by side, which keeps three independent recurrences in flight; where one is lost alone, each
// axis is filtered on its own.
#include "engine/processing/butterworth_filter.h"

#include <algorithm>
#include <cassert>
#include <atomic>
#include <memory>
#include <thread>

#include "engine/model/seams.h"

std::vector<Stretch> seen_stretches(const Sample* samples, int axis, int first_frame, int last_frame) {
    std::vector<Stretch> stretches;
    int f = first_frame;
    while (f <= last_frame) {
        while (f <= last_frame && is_lost(axis_coordinate(samples[f], axis))) ++f;
        if (f > last_frame) break;
        const int start = f;
        while (f <= last_frame && !is_lost(axis_coordinate(samples[f], axis))) ++f;
        stretches.push_back({start, f - 1});
    }
    return stretches;
}

namespace {

// Where a mark's frames are filtered: one pass over the samples finds each run of frames where
// the mark is seen at all, and filters it while it is in the cache.
struct MarkFilter {
    const ButterworthPass& pass;
    int shortest;
    Sample* samples;
    SampleOrigin* (*origins_for)(CaptureData&, int);
    CaptureData& data;
    int mark;
    std::vector<double>& scratch;
    SampleOrigin* origins = nullptr;
    int short_stretches = 0;

    void filter(Stretch stretch, int axis, int width) {
        filtfilt_stretch(pass, &samples[stretch.first].x + axis, stretch.length(), 3, width, scratch);
        if (!origins) origins = origins_for(data, mark);
        std::fill(origins + stretch.first, origins + stretch.last + 1, SampleOrigin::filter);
    }

    // A run where the three coordinates are seen throughout is a stretch of each of them.
    void seen_together(Stretch run) {
        if (run.length() < shortest) {
            ++short_stretches;
        } else {
            filter(run, 0, 3);
        }
    }

    // A run where some coordinates are lost alone: each axis has stretches of its own.
    void seen_apart(Stretch run) {
        std::vector<Stretch> too_short;
        for (int axis = 0; axis < 3; ++axis) {
            for (const Stretch& stretch : seen_stretches(samples, axis, run.first, run.last)) {
                if (stretch.length() < shortest) {
                    too_short.push_back(stretch);
                } else {
                    filter(stretch, axis, 1);
                }
            }
        }
        // A stretch the axes share is one stretch of the mark.
        const auto before = [](const Stretch& s, const Stretch& t) {
            return s.first != t.first ? s.first < t.first : s.last < t.last;
        };
        const auto same = [](const Stretch& s, const Stretch& t) { return s.first == t.first && s.last == t.last; };
        std::sort(too_short.begin(), too_short.end(), before);
        short_stretches += static_cast<int>(std::unique(too_short.begin(), too_short.end(), same) - too_short.begin());
    }

    void run(int first, int last) {
        int f = first;
        while (f <= last) {
            const auto lost = [this](int frame) {
                const Sample& s = samples[frame];
                return is_lost(s.x) + is_lost(s.y) + is_lost(s.z);
            };
            while (f <= last && lost(f) == 3) ++f;
            if (f > last) break;
            const int start = f;
            bool apart = false;
            for (int n; f <= last && (n = lost(f)) != 3; ++f) apart |= n != 0;
            if (apart) {
                seen_apart({start, f - 1});
            } else {
                seen_together({start, f - 1});
            }
        }
    }
};

}  // namespace

FilterOutcome butterworth_filter(CaptureData& data, const std::vector<int>& marks, const FilterSettings& settings) {
    FilterOutcome outcome;
    const std::string refusal = filter_refusal(settings.cutoff, data.capture_rate, settings.order);
    if (!refusal.empty()) {
        show_error(refusal);
        outcome.refused = true;
        return outcome;
    }
    const int first = std::max(settings.first_frame, 0);
    const int last = std::min(settings.last_frame, data.num_frames - 1);
    if (first > last || marks.empty()) return outcome;
    const ButterworthPass pass = butterworth_pass(settings.cutoff, data.capture_rate, settings.order);
    for ([[maybe_unused]] int mark : marks) assert(mark >= 0 && mark < data.mark_count() && "butterworth_filter: mark out of range");

    // Marks are independent, so each core takes the next mark left; the counts are summed after.
    std::atomic<size_t> next{0};
    const auto work = [&](FilterOutcome& counted) {
        std::vector<double> scratch;
        for (size_t i; (i = next.fetch_add(1)) < marks.size();) {
            const int mark = marks[i];
            Sample* samples = data.channels[mark].samples.get();
            if (!samples) continue;
            MarkFilter filter{pass, shortest_filtered_stretch(settings.order), samples, writable_origins, data, mark,
                              scratch};
            filter.run(first, last);
            counted.short_stretches += filter.short_stretches;
            counted.channels_filtered += filter.origins != nullptr;
        }
    };
    const size_t helpers = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), marks.size()) - 1;
    std::vector<FilterOutcome> counts(helpers + 1);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < helpers; ++t) threads.emplace_back(work, std::ref(counts[t + 1]));
    work(counts[0]);
    for (std::thread& thread : threads) thread.join();
    for (const FilterOutcome& counted : counts) {
        outcome.short_stretches += counted.short_stretches;
        outcome.channels_filtered += counted.channels_filtered;
    }
    return outcome;
}
