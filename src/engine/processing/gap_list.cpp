// The gap list's rows, gathered from the unseen runs of each mark and the detector.
#include "engine/processing/gap_list.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "engine/processing/donor_fill.h"
#include "engine/processing/suspect_stretches.h"

namespace {

// An undo or a later edit takes a note's fill away: it is shown only while every sample it
// wrote is seen and still says it was filled.
bool still_filled(const CaptureData& data, const FilledGapNote& note) {
    if (note.mark < 0 || note.mark >= data.mark_count() || data.channels[note.mark].empty()) return false;
    if (note.first < 0 || note.last >= data.num_frames || note.first > note.last) return false;
    const Channel& channel = data.channels[note.mark];
    for (int f = note.first; f <= note.last; ++f) {
        const SampleOrigin origin = channel.origin(f);
        const Sample& s = channel.samples[f];
        if (is_lost(s.x) || is_lost(s.y) || is_lost(s.z) || (origin != SampleOrigin::fill_spline && origin != SampleOrigin::fill_marks))
            return false;
    }
    return true;
}

// The rows of the fills still in the samples. Newest first, so that a later fill of the same
// frames (after an undo) hides the earlier note; each mark's shown stretches, by first frame,
// tell an overlap at once however many fills there were.
void add_filled_rows(const CaptureData& data, std::vector<GapRow>& rows) {
    std::map<int, std::map<int, int>> shown;  // mark -> first frame -> last frame
    for (auto note = data.filled_gaps->rbegin(); note != data.filled_gaps->rend(); ++note) {
        if (!still_filled(data, *note)) continue;
        std::map<int, int>& spans = shown[note->mark];
        const auto after = spans.lower_bound(note->first);
        if (after != spans.end() && after->first <= note->last) continue;
        if (after != spans.begin() && std::prev(after)->second >= note->first) continue;
        spans.emplace(note->first, note->last);
        rows.push_back({note->mark, note->first, note->last, GapRowKind::filled, note->estimated_error});
    }
}

}  // namespace

void note_filled_gap(CaptureData& data, const FilledGapNote& note) {
    if (!data.filled_gaps) data.filled_gaps = std::make_shared<std::vector<FilledGapNote>>();
    data.filled_gaps->push_back(note);
}

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
    if (data.filled_gaps) add_filled_rows(data, rows);
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
        case GapRowKind::filled: return "filled";
    }
    return "gap";
}
