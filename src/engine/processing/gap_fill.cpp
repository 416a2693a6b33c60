// Every fill is worked out from the capture as it was before the run and written afterwards, so
// a filled value never serves as a knot or a donor for another mark. Every frame of a filled gap
// had a lost coordinate filled, so the whole gap takes the origin of the way it was filled.
#include "engine/processing/gap_fill.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <memory>

#include "engine/processing/gap_fill_context.h"
#include "engine/processing/gap_list.h"
#include "platform/parallel_pieces.h"

namespace {

struct PendingFill {
    FilledGap gap;
    SampleOrigin origin;
    size_t offset;  // of its frames in the mark's filled samples
};

// The fills of one mark's gaps, worked out on whichever thread took the mark.
struct MarkFills {
    std::vector<PendingFill> pending;
    std::vector<Sample> values;
    std::vector<UnfilledGap> left_lost;
};

void fill_mark(FillContext& context, int mark, const FillSettings& settings, MarkFills& out) {
    for (const FrameRun& gap : context.unseen[mark]) {
        const int length = gap.last - gap.first + 1;
        if (gap.first == context.first_frame || gap.last == context.last_frame) continue;
        if (settings.max_gap > 0 && length > settings.max_gap) continue;
        GapFillResult fill = fill_gap(context, mark, gap, settings.method, settings.donors);
        if (!fill.filled) {
            out.left_lost.push_back({mark, gap.first, gap.last, fill.reason});
            continue;
        }
        const FillMethod used = fill.origin == SampleOrigin::fill_marks ? FillMethod::rigid
                                : fill.method == "linear"              ? FillMethod::linear
                                                                       : FillMethod::spline;
        out.pending.push_back({{mark, gap.first, gap.last, used, std::move(fill.method), fill.estimated_error},
                               fill.origin, out.values.size()});
        out.values.insert(out.values.end(), fill.values.begin(), fill.values.end());
    }
}

void write_mark(CaptureData& data, int mark, const MarkFills& fills) {
    if (fills.pending.empty()) return;
    Sample* samples = data.channels[mark].samples.get();
    SampleOrigin* origins = writable_origins(data, mark);
    for (const PendingFill& fill : fills.pending) {
        const int length = fill.gap.last - fill.gap.first + 1;
        std::copy_n(fills.values.data() + fill.offset, length, samples + fill.gap.first);
        std::fill_n(origins + fill.gap.first, length, fill.origin);
    }
}

}  // namespace

std::vector<FilledGap> fill_gaps(CaptureData& data, const std::vector<int>& marks, const FillSettings& settings) {
    const int first = std::max(0, settings.first_frame);
    const int last = std::min(data.num_frames - 1, settings.last_frame);
    std::vector<FilledGap> report;
    if (last - first < 2) return report;  // no gap can have seen frames on both sides

    std::vector<int> filled_marks;
    std::vector<bool> taken(data.mark_count());
    for (int mark : marks) {
        if (mark < 0 || mark >= data.mark_count() || taken[mark] || data.channels[mark].empty()) continue;
        taken[mark] = true;
        filled_marks.push_back(mark);
    }

    // Marks are filled on every core, each by the next thread free: their gaps differ widely in
    // number and length. Every thread reads only what prepare_for_threads found beforehand, the
    // mark's own ranking, and the capture as it was.
    FillContext context(data, first, last);
    const int threads = std::max(1, std::min(worker_threads(), static_cast<int>(filled_marks.size())));
    if (threads > 1) {
        const bool with_donors = settings.donors.empty() && settings.method != FillMethod::spline &&
                                 settings.method != FillMethod::linear;
        context.prepare_for_threads(threads, with_donors, static_cast<int>(filled_marks.size()));
    }
    std::vector<MarkFills> fills(filled_marks.size());
    std::atomic<size_t> next_mark{0};
    run_pieces(threads, [&](int) {
        for (size_t i; (i = next_mark++) < filled_marks.size();) fill_mark(context, filled_marks[i], settings, fills[i]);
    });

    // Written once every fill is worked out, each mark's samples and origins on the next thread
    // free; the notes and the report then in the order of the marks.
    next_mark = 0;
    run_pieces(threads, [&](int) {
        for (size_t i; (i = next_mark++) < filled_marks.size();) write_mark(data, filled_marks[i], fills[i]);
    });
    size_t gaps = 0;
    for (const MarkFills& mark : fills) gaps += mark.pending.size();
    report.reserve(gaps);
    for (const MarkFills& mark : fills) {
        if (settings.left_lost) settings.left_lost->insert(settings.left_lost->end(), mark.left_lost.begin(), mark.left_lost.end());
        for (const PendingFill& fill : mark.pending) {
            note_filled_gap(data, {fill.gap.mark, fill.gap.first, fill.gap.last, fill.gap.method_name, fill.gap.estimated_error});
            report.push_back(fill.gap);
        }
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
    case FillMethod::linear: return "linear";
    }
    return "";
}

bool parse_fill_method(const std::string& text, FillMethod& method) {
    for (FillMethod candidate : {FillMethod::spline, FillMethod::rigid, FillMethod::automatic, FillMethod::linear}) {
        if (text == fill_method_name(candidate)) {
            method = candidate;
            return true;
        }
    }
    // The gap list's fill dialog calls the rigid fill by what it fills from.
    if (text == "marks") {
        method = FillMethod::rigid;
        return true;
    }
    return false;
}
