// Scans over every sample of a capture shared out on the cores: each thread takes a run of
// marks and fills its own part, and the parts come back in mark order, so that joining them in
// order gives what one scan from the first mark would.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/model/capture_model.h"
#include "platform/parallel_pieces.h"

// scan(first_mark, end_mark, part) for runs of marks, each part starting as `start`.
template <class Part, class Scan>
std::vector<Part> scan_mark_parts(const CaptureData& data, const Part& start, Scan scan) {
    // Below a million samples a thread costs more than it saves.
    constexpr long long SHARED_FROM = 1000000;
    const int marks = data.mark_count();
    const long long samples = static_cast<long long>(marks) * data.num_frames;
    const int count = samples < SHARED_FROM ? 1 : std::max(1, std::min(machine_cores(), marks));
    std::vector<Part> parts(static_cast<size_t>(count), start);
    // Each thread scans into a part of its own and hands it over at the end: parts side by side in
    // one array would share cache lines, and every update would slow the other threads down.
    run_pieces(count, [&](int k) {
        Part part = start;
        scan(marks * k / count, marks * (k + 1) / count, part);
        parts[static_cast<size_t>(k)] = std::move(part);
    });
    return parts;
}
