// Every fill is worked out from the capture as it was before the run and written afterwards, so
// a filled value never serves as a knot or a donor for another mark. Every frame of a filled gap
// had a lost coordinate filled, so the whole gap takes the origin of the way it was filled.
#include "engine/processing/gap_fill.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "engine/processing/gap_fill_context.h"
#include "engine/processing/gap_list.h"

namespace {

struct PendingFill {
    FilledGap gap;
    SampleOrigin origin;
    size_t offset;  // of its frames in the buffer of filled samples
};

}  // namespace

std::vector<FilledGap> fill_gaps(CaptureData& data, const std::vector<int>& marks, const FillSettings& settings) {
    const int first = std::max(0, settings.first_frame);
    const int last = std::min(data.num_frames - 1, settings.last_frame);
    std::vector<FilledGap> report;
    if (last - first < 2) return report;  // no gap can have seen frames on both sides

    FillContext context(data, first, last);
    std::vector<bool> done(data.mark_count());
    std::vector<PendingFill> pending;
    std::vector<Sample> filled;
    // Room for every gap of the marks at once, so the lists are never moved while they grow.
    size_t gaps = 0, frames = 0;
    for (int mark : marks) {
        if (mark < 0 || mark >= data.mark_count()) continue;
        gaps += context.unseen[mark].size();
        for (const FrameRun& gap : context.unseen[mark]) frames += gap.last - gap.first + 1;
    }
    pending.reserve(gaps);
    filled.reserve(frames);
    report.reserve(gaps);
    for (int mark : marks) {
        if (mark < 0 || mark >= data.mark_count() || done[mark] || data.channels[mark].empty()) continue;
        done[mark] = true;
        for (const FrameRun& gap : context.unseen[mark]) {
            const int length = gap.last - gap.first + 1;
            if (gap.first == first || gap.last == last) continue;
            if (settings.max_gap > 0 && length > settings.max_gap) continue;
            GapFillResult fill = fill_gap(context, mark, gap, settings.method, settings.donors);
            if (!fill.filled) {
                if (settings.left_lost) settings.left_lost->push_back({mark, gap.first, gap.last, fill.reason});
                continue;
            }
            const FillMethod used = fill.origin == SampleOrigin::fill_marks ? FillMethod::rigid
                                    : fill.method == "linear"              ? FillMethod::linear
                                                                           : FillMethod::spline;
            pending.push_back({{mark, gap.first, gap.last, used, std::move(fill.method), fill.estimated_error},
                               fill.origin, filled.size()});
            filled.insert(filled.end(), fill.values.begin(), fill.values.end());
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
        std::fill_n(origins + fill.gap.first, length, fill.origin);
        note_filled_gap(data, {fill.gap.mark, fill.gap.first, fill.gap.last, fill.gap.method_name, fill.gap.estimated_error});
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
