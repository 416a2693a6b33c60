// Comparing two captures: names, counts, lost pattern, and values within a relative tolerance.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/model/capture_model.h"

// Values are compared within `tolerance` of their size (or of 1, near zero).
inline void expect_same_capture(const CaptureData& read, const CaptureData& idf, double tolerance = 1e-6) {
    ASSERT_EQ(read.num_columns, idf.num_columns);
    EXPECT_EQ(read.capture_rate, idf.capture_rate);
    EXPECT_EQ(read.error_count, idf.error_count);
    ASSERT_EQ(read.num_frames, idf.num_frames);
    int mismatches = 0;
    for (int m = 0; m < idf.mark_count(); ++m) {
        EXPECT_EQ(read.channels[m].name_text(), idf.channels[m].name_text()) << "mark " << m;
        for (int f = 0; f < idf.num_frames; ++f) {
            const Sample& a = read.channels[m].samples[f];
            const Sample& b = idf.channels[m].samples[f];
            const double got[] = {a.x, a.y, a.z}, want[] = {b.x, b.y, b.z};
            for (int axis = 0; axis < 3; ++axis) {
                const double allowed = tolerance * std::max(1.0, std::fabs(want[axis]));
                const bool same = is_lost(got[axis]) == is_lost(want[axis]) &&
                                  (is_lost(want[axis]) || std::fabs(got[axis] - want[axis]) <= allowed);
                if (!same && ++mismatches <= 5) {
                    ADD_FAILURE() << "mark " << m << " frame " << f << " axis " << axis << ": " << got[axis]
                                  << " against " << want[axis];
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}
