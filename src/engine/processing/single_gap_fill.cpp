// One gap at a time, for the gap list: the fill is worked out over the whole capture, as a fill of
// every mark would work it out, so a preview shows what applying will write.
#include "engine/processing/single_gap_fill.h"

#include <algorithm>
#include <cassert>

#include "engine/processing/gap_fill_context.h"
#include "engine/processing/gap_list.h"

namespace {

bool seen(const Sample& s) { return !is_lost(s.x) && !is_lost(s.y) && !is_lost(s.z); }

// Why the gap cannot be filled with these donors, or empty when it can be tried.
std::string donors_problem(const CaptureData& data, int mark, const std::vector<int>& donors) {
    if (donors.empty()) return "";
    if (donors.size() != 3) return "three donor marks are needed";
    for (size_t i = 0; i < donors.size(); ++i) {
        const int d = donors[i];
        if (d < 0 || d >= data.mark_count() || data.channels[d].empty()) return "a donor is not a mark of the capture";
        if (d == mark) return "a mark cannot be its own donor";
        if (std::find(donors.begin(), donors.begin() + i, d) != donors.begin() + i) return "the donors must be three different marks";
    }
    return "";
}

}  // namespace

GapFillResult fill_one_gap(const CaptureData& data, int mark, int first, int last, FillMethod method,
                           const std::vector<int>& donors) {
    GapFillResult result;
    if (mark < 0 || mark >= data.mark_count() || data.channels[mark].empty()) {
        result.reason = "no such mark";
        return result;
    }
    if (first > last || first < 0 || last >= data.num_frames) {
        result.reason = "the frames are not in the capture";
        return result;
    }
    const Sample* samples = data.channels[mark].samples.get();
    if (first == 0 || !seen(samples[first - 1]) || last == data.num_frames - 1 || !seen(samples[last + 1])) {
        result.reason = "the mark is not seen on both sides of the gap";
        return result;
    }
    result.reason = donors_problem(data, mark, donors);
    if (!result.reason.empty()) return result;
    FillContext context(data, 0, data.num_frames - 1);
    return fill_gap(context, mark, {first, last}, method, donors);
}

void apply_gap_fill(CaptureData& data, int mark, int first, const GapFillResult& fill) {
    if (!fill.filled || fill.values.empty()) return;
    const int length = static_cast<int>(fill.values.size());
    assert(mark >= 0 && mark < data.mark_count() && first >= 0 && first + length <= data.num_frames &&
           "a fill is applied to the capture it was worked out on");
    Sample* samples = data.channels[mark].samples.get();
    int lost_before = 0, lost_after = 0;
    for (int i = 0; i < length; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            lost_before += is_lost(axis_coordinate(samples[first + i], axis));
            lost_after += is_lost(axis_coordinate(fill.values[i], axis));
        }
    }
    std::copy(fill.values.begin(), fill.values.end(), samples + first);
    std::fill_n(writable_origins(data, mark) + first, length, fill.origin);
    data.error_count = std::max(0, data.error_count - (lost_before - lost_after));
    note_filled_gap(data, {mark, first, first + length - 1, fill.method, fill.estimated_error});
    note_samples_changed(data);
}

std::vector<int> donor_candidates(const CaptureData& data, int mark, int first, int last) {
    std::vector<int> candidates;
    if (mark < 0 || mark >= data.mark_count()) return candidates;
    const int from = std::max(0, first - 1);
    const int to = std::min(data.num_frames - 1, last + 1);
    if (from > to) return candidates;
    const auto seen_across = [&](int d) {
        if (d == mark || data.channels[d].empty()) return false;
        for (int f = from; f <= to; ++f) {
            if (!seen(data.channels[d].samples[f])) return false;
        }
        return true;
    };
    const DonorRanking ranking = rank_donors(donor_table(data, 0, data.num_frames - 1), mark);
    for (int d : ranking.marks) {
        if (seen_across(d)) candidates.push_back(d);
    }
    // Marks never seen with this one on the frames the ranking samples still serve, ranked last.
    for (int d = 0; d < data.mark_count(); ++d) {
        if (seen_across(d) && std::find(candidates.begin(), candidates.end(), d) == candidates.end()) candidates.push_back(d);
    }
    return candidates;
}
