// The strips a trajectory is drawn with: broken by lost samples, split where computed samples
// begin and end, and thinned on screen without losing the ends of a strip.
#include <gtest/gtest.h>

#include <vector>

#include "engine/model/limits.h"
#include "engine/scene/trajectory_runs.h"

namespace {

std::vector<Sample> along_x(int frames, double step) {
    std::vector<Sample> samples;
    for (int f = 0; f < frames; ++f) samples.push_back({f * step, 0, 0});
    return samples;
}

}  // namespace

TEST(TrajectoryRuns, LostSamplesBreakAndComputedOnesSplitTheStrips) {
    std::vector<Sample> samples = along_x(10, 1);
    samples[4] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
    samples[6] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};  // frame 5 is left alone between two lost
    std::vector<SampleOrigin> origins(10, SampleOrigin::measured);
    origins[8] = SampleOrigin::fill_spline;
    TrajectoryRuns runs;
    build_trajectory_runs(samples.data(), origins.data(), 10, 0, 20, nullptr, runs);
    // 0-3 measured; 7 measured then 7-8-9 computed (the segments touching frame 8).
    EXPECT_EQ(runs.measured_first, (std::vector<int>{0}));
    EXPECT_EQ(runs.measured_count, (std::vector<int>{4}));
    ASSERT_EQ(runs.computed_count, (std::vector<int>{3}));
    const int first = runs.computed_first[0];
    EXPECT_EQ(runs.vertices[3 * first], 7.0f);
    EXPECT_EQ(runs.vertices[3 * (first + 2)], 9.0f);
}

TEST(TrajectoryRuns, ThinningKeepsOneVertexPerPixelAndBothEnds) {
    // A tenth of a pixel per frame: 1 000 frames cover 100 pixels.
    const std::vector<Sample> samples = along_x(1001, 0.1);
    ScreenMapping mapping;
    mapping.clip = scaling(2.0 / 800, 2.0 / 600, 1);  // one unit per pixel from the bottom left
    mapping.clip[12] = -1;
    mapping.clip[13] = -1;
    mapping.width = 800;
    mapping.height = 600;
    TrajectoryRuns runs;
    build_trajectory_runs(samples.data(), nullptr, 1001, 0, 1000, &mapping, runs);
    ASSERT_EQ(runs.measured_count.size(), 1u);
    EXPECT_LE(runs.measured_count[0], 102);
    EXPECT_GE(runs.measured_count[0], 90);
    EXPECT_EQ(runs.vertices[0], 0.0f);
    EXPECT_FLOAT_EQ(runs.vertices[runs.vertices.size() - 3], 100.0f);
}
