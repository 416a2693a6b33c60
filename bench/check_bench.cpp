// How well the jump and swap detector finds marker faults put into real gap-free captures, and
// how much of a clean capture it calls suspect.
//   check_recall         share of the injected spikes and swaps found (a reported stretch of the
//                        right mark overlaps the event)
//   check_false_per_10k  suspect frames on the clean captures per 10 000 mark-frames
//   check_gap_list       the gap list's rows (gaps and the detector) of 120 marks x 100 000 frames
//   check_detect         the detector alone on that capture
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/gap_list.h"
#include "engine/processing/suspect_stretches.h"

#ifndef ZEMO_SHARED_DATA
#define ZEMO_SHARED_DATA "../shared/data"
#endif

namespace {

constexpr int SPIKES = 200;
constexpr int SWAPS = 20;
// Events go in by rounds on a fresh copy of the capture, as a real capture holds a few faults,
// not hundreds.
constexpr int ROUNDS = 10;
constexpr int MARGIN = 3;  // clean frames kept around each event of a mark

struct Event {
    int mark, other;  // other: the swapped partner, -1 for a spike
    int first, last;
};

struct Tally {
    long events = 0, found = 0, suspect_frames = 0, mark_frames = 0;
};

bool found(const std::vector<SuspectStretch>& stretches, int mark, int first, int last) {
    for (const SuspectStretch& s : stretches) {
        if (s.mark == mark && s.first <= last && s.last >= first) return true;
    }
    return false;
}

// Picks an event's frames on free frames of its marks; false when none was found.
bool place(std::mt19937& random, std::vector<std::vector<bool>>& busy, int mark, int other, int length, Event& event) {
    const int frames = static_cast<int>(busy[0].size());
    std::uniform_int_distribution<int> start(MARGIN, frames - MARGIN - length);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int first = start(random), last = first + length - 1;
        bool free = true;
        for (int f = first - MARGIN; f <= last + MARGIN && free; ++f) {
            free = !busy[mark][f] && (other < 0 || !busy[other][f]);
        }
        if (!free) continue;
        for (int f = first - MARGIN; f <= last + MARGIN; ++f) {
            busy[mark][f] = true;
            if (other >= 0) busy[other][f] = true;
        }
        event = {mark, other, first, last};
        return true;
    }
    return false;
}

void inject_round(std::mt19937& random, int spikes, int swaps, std::vector<Event>& events) {
    const int marks = app.mark_count();
    std::vector<std::vector<bool>> busy(marks, std::vector<bool>(app.num_frames, false));
    std::uniform_int_distribution<int> pick_mark(0, marks - 1), spike_length(1, 5), swap_length(1, 30);
    std::uniform_real_distribution<double> size(30.0, 400.0), unit(-1.0, 1.0);
    for (int i = 0; i < swaps; ++i) {
        const int a = pick_mark(random);
        int b = pick_mark(random);
        while (b == a) b = pick_mark(random);
        Event event;
        if (!place(random, busy, a, b, swap_length(random), event)) continue;
        Sample* pa = app.channels[a].samples.get();
        Sample* pb = app.channels[b].samples.get();
        for (int f = event.first; f <= event.last; ++f) std::swap(pa[f], pb[f]);
        events.push_back(event);
    }
    for (int i = 0; i < spikes; ++i) {
        Event event;
        if (!place(random, busy, pick_mark(random), -1, spike_length(random), event)) continue;
        double dx, dy, dz, norm;
        do {
            dx = unit(random), dy = unit(random), dz = unit(random);
            norm = std::sqrt(dx * dx + dy * dy + dz * dz);
        } while (norm < 0.1 || norm > 1.0);
        const double h = size(random) / norm;
        Sample* samples = app.channels[event.mark].samples.get();
        for (int f = event.first; f <= event.last; ++f) samples[f] = {samples[f].x + h * dx, samples[f].y + h * dy, samples[f].z + h * dz};
        events.push_back(event);
    }
}

void bench_capture(const std::string& name, Tally& tally) {
    app_reset();
    if (idf_read(std::string(ZEMO_SHARED_DATA) + "/" + name + ".idf") != 0 || app.error_count != 0) {
        std::fprintf(stderr, "zemo-bench: %s is missing or not gap-free\n", name.c_str());
        return;
    }
    std::vector<std::vector<Sample>> clean(app.mark_count());
    for (int m = 0; m < app.mark_count(); ++m) {
        const Sample* samples = app.channels[m].samples.get();
        clean[m].assign(samples, samples + app.num_frames);
    }
    const SuspectSearch on_clean = find_suspect_stretches(app);
    long suspect = 0;
    for (const SuspectStretch& s : on_clean.stretches) suspect += s.last - s.first + 1;
    tally.suspect_frames += suspect;
    tally.mark_frames += static_cast<long>(app.mark_count()) * app.num_frames;

    std::mt19937 random(20);
    long events = 0, hits = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        std::vector<Event> injected;
        inject_round(random, SPIKES / ROUNDS, SWAPS / ROUNDS, injected);
        const SuspectSearch search = find_suspect_stretches(app);
        for (const Event& e : injected) {
            const bool hit = found(search.stretches, e.mark, e.first, e.last) &&
                             (e.other < 0 || found(search.stretches, e.other, e.first, e.last));
            hits += hit;
            if (!hit && std::getenv("ZEMO_BENCH_MISSES")) {
                std::fprintf(stderr, "missed %s mark %d other %d frames %d-%d\n", name.c_str(), e.mark, e.other,
                             e.first, e.last);
            }
        }
        events += static_cast<long>(injected.size());
        for (int m = 0; m < app.mark_count(); ++m) std::copy(clean[m].begin(), clean[m].end(), app.channels[m].samples.get());
    }
    tally.events += events;
    tally.found += hits;
    std::fprintf(stderr, "check %s: threshold %.0f %s/s², %ld of %ld events found, %ld suspect frames when clean\n",
                 name.c_str(), on_clean.threshold, app.units.empty() ? "units" : app.units.c_str(), hits, events, suspect);
}

}  // namespace

void bench_check() {
    install_seams({});
    Tally tally;
    bench_capture("subject01_walk1", tally);
    bench_capture("ezc3d_Qualisys", tally);
    if (tally.events == 0 || tally.mark_frames == 0) return;
    report("check_recall", static_cast<double>(tally.found) / tally.events, "");
    report("check_false_per_10k", 10000.0 * tally.suspect_frames / tally.mark_frames, "frames");
    make_gapped_capture();
    size_t rows = 0;
    report("check_gap_list", 1000 * best_seconds(3, [&rows] { rows = gap_list(app).size(); }), "ms");
    std::fprintf(stderr, "check_gap_list: %zu rows\n", rows);
    report("check_detect", 1000 * best_seconds(3, [] { find_suspect_stretches(app); }), "ms");

    app_reset();
}
