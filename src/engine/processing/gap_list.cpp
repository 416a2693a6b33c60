// The gap list's rows, gathered from the unseen runs of each mark and the detector.
#include "engine/processing/gap_list.h"

#include <algorithm>

#include "engine/processing/donor_fill.h"
#include "engine/processing/suspect_stretches.h"

std::vector<GapRow> gap_list(const CaptureData& data) {
    std::vector<GapRow> rows;
    if (data.num_frames <= 0) return rows;
    const UnseenRuns unseen(data, 0, data.num_frames - 1);
    for (int m = 0; m < data.mark_count(); ++m) {
        if (data.channels[m].empty()) continue;
        for (const FrameRun& run : unseen[m]) rows.push_back({m, run.first, run.last, GapRowKind::gap});
    }
    for (const SuspectStretch& s : find_suspect_stretches(data).stretches) {
        rows.push_back({s.mark, s.first, s.last, s.kind == SuspectKind::jump ? GapRowKind::jump : GapRowKind::swap});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const GapRow& a, const GapRow& b) {
        return a.mark != b.mark ? a.mark < b.mark : a.first < b.first;
    });
    return rows;
}

double gap_row_seconds(const CaptureData& data, const GapRow& row) {
    return data.capture_rate > 0 ? row.frames() / data.capture_rate : row.frames();
}

const char* gap_row_kind_name(GapRowKind kind) {
    switch (kind) {
        case GapRowKind::gap: return "gap";
        case GapRowKind::jump: return "jump";
        case GapRowKind::swap: return "swap";
    }
    return "gap";
}
