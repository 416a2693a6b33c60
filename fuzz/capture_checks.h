// What every capture reader must guarantee, checked by the fuzz targets of the readers that
// parse bytes held in memory: a refusal leaves the capture empty and says why; an accepted
// capture fits a layer, its tables are sized to its marks, it has a header and names, and it can
// be walked end to end with its lost coordinates counted right.
#pragma once

#include <cstdlib>

#include "engine/formats/read_error.h"
#include "engine/model/capture_model.h"

inline void check_parsed_capture(int status, const CaptureData& out, const ReadError& error) {
    if (status != 0) {
        if (out.num_columns != 0 || out.num_frames != 0 || error.text.empty()) std::abort();
        return;
    }
    if (out.num_columns < 3 || out.num_columns > MAX_COLUMNS || out.num_frames < 1 || !out.header) std::abort();
    // The mark tables are as long as the capture has marks, and the rate is a usable number.
    const size_t marks = static_cast<size_t>(out.mark_count());
    if (out.channels.size() != marks || out.mark_styles.size() != marks || !(out.capture_rate >= 0)) std::abort();
    int lost = 0;
    for (int m = 0; m < out.mark_count(); ++m) {
        const Sample* samples = out.channels[m].samples.get();
        if (!samples || out.channels[m].name_text().empty()) std::abort();
        for (int f = 0; f < out.num_frames; ++f) {
            lost += is_lost(samples[f].x) + is_lost(samples[f].y) + is_lost(samples[f].z);
        }
    }
    if (lost != out.error_count) std::abort();
}
