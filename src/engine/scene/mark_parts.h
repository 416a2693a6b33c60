// Scans over every sample of a capture shared out on the cores: each thread takes a run of
// marks and fills its own part, and the parts come back in mark order, so that joining them in
// order gives what one scan from the first mark would.
#pragma once

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/model/capture_model.h"

// scan(first_mark, end_mark, part) for runs of marks, each part starting as `start`.
template <class Part, class Scan>
std::vector<Part> scan_mark_parts(const CaptureData& data, const Part& start, Scan scan) {
    // Below a million samples a thread costs more than it saves.
    constexpr long long SHARED_FROM = 1000000;
    const int marks = data.mark_count();
    const long long samples = static_cast<long long>(marks) * data.num_frames;
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int count = samples < SHARED_FROM ? 1 : std::max(1, std::min(cores, marks));
    std::vector<Part> parts(static_cast<size_t>(count), start);
    // A part no thread could be started for is scanned here, after the first.
    const auto scan_part = [&](int k) { scan(marks * k / count, marks * (k + 1) / count, parts[k]); };
    std::vector<std::thread> helpers;
    int started = 1;
    try {
        for (; started < count; ++started) helpers.emplace_back(scan_part, started);
    } catch (const std::system_error&) {
    }
    scan_part(0);
    for (int k = started; k < count; ++k) scan_part(k);
    for (std::thread& helper : helpers) helper.join();
    return parts;
}
