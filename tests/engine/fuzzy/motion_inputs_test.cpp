// The motion inputs: which frames bound the window, how positions are normalised and cut, the
// differences taken from them, and the sliding bounds against the direct computation.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/fuzzy/motion_inputs.h"
#include "engine/scene/view_state.h"
#include "support/fuzzy_test_support.h"

namespace {

struct MotionInputsTest : ::testing::Test {
    Recorder recorder;
    void TearDown() override { view = ViewState{}; }
};

}  // namespace

TEST_F(MotionInputsTest, WindowRunsFromFiftyFramesBeforeToFortyNineAfterWithinTheCapture) {
    // Frame f holds f on every axis, so the bounds name the first and last frame of the window.
    load_capture(1, 60, [](int, int f, int) { return f; });
    const Sample* samples = app.channels[0].samples.get();
    const struct {
        int n, first, last;
    } table[] = {{4, 0, 53}, {9, 0, 58}, {10, 0, 59}, {30, 0, 59}, {50, 0, 59}, {51, 1, 59}, {55, 5, 59}, {59, 9, 59}};
    for (const auto& row : table) {
        const AxisBounds b = window_bounds(samples, 60, row.n);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(b.min[axis], row.first) << "n = " << row.n;
            EXPECT_EQ(b.max[axis], row.last) << "n = " << row.n;
        }
    }
}

TEST_F(MotionInputsTest, LostCoordinatesStayOutOfTheBoundsAxisByAxis) {
    load_capture(1, 20, [](int, int f, int axis) {
        if (f == 3 && axis == 1) return LOST_VALUE;  // only y of this frame is lost
        if (f == 3) return 500.0;                    // its x and z still count
        return axis == 1 && f == 7 ? 999998.0 : 10.0 + f;  // 999998 itself is not below the threshold
    });
    const AxisBounds b = window_bounds(app.channels[0].samples.get(), 20, 10);
    EXPECT_EQ(b.max[0], 500.0);
    EXPECT_EQ(b.max[2], 500.0);
    EXPECT_EQ(b.max[1], 29.0);
    EXPECT_EQ(b.min[1], 10.0);
    // An axis with nothing valid keeps the starting values.
    load_capture(1, 10, [](int, int, int axis) { return axis == 0 ? LOST_VALUE : 1.0; });
    const AxisBounds none = window_bounds(app.channels[0].samples.get(), 10, 5);
    EXPECT_EQ(none.min[0], 99999.0);
    EXPECT_EQ(none.max[0], -99999.0);
}

TEST_F(MotionInputsTest, PositionsVelocitiesAndAccelerationsOfFiveFrames) {
    // x: the window 0..59 runs from 0 to 200; frames 26..30 hold 10, 20, 40, 70, 110.
    const double xs[] = {10, 20, 40, 70, 110};
    load_capture(2, 60, [&](int m, int f, int axis) {
        if (m == 1) return axis == 2 ? 7.0 : f * 1.0;            // z never moves
        if (axis == 0) return f >= 26 && f <= 30 ? xs[f - 26] : (f == 59 ? 200.0 : 0.0);
        if (axis == 1) return f == 30 ? LOST_VALUE : 50.0 + f;   // lost at the current frame
        return f == 40 ? 1000.0 : 100.0;                         // z: 100 .. 1000
    });
    fuzzy_compute_inputs(30, 0, 0);
    const AxisMotion& x = motion_inputs[0].axis[0];
    const double p[] = {5.5, 3.5, 2.0, 1.0, 0.5};  // (v - 0) / 200 x 10 for frames 30, 29, ..., 26
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(x.position[k], p[k], 1e-12) << k;
    const double v[] = {2.0, 1.5, 1.0, 0.5};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(x.velocity[k], v[k], 1e-12) << k;
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(x.acceleration[k], 0.5, 1e-12) << k;

    const AxisMotion& y = motion_inputs[0].axis[1];
    EXPECT_EQ(y.position[0], 10.0) << "a lost coordinate is cut at the top";
    const double y29 = (79.0 - 50.0) / (109.0 - 50.0) * 10.0;
    EXPECT_NEAR(y.position[1], y29, 1e-12);
    EXPECT_NEAR(y.velocity[0], 10.0 - y29, 1e-12);

    EXPECT_EQ(motion_inputs[0].axis[2].position[0], 0.0);
    fuzzy_compute_inputs(30, 1, 0);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(motion_inputs[1].axis[2].position[k], 0.0) << "an axis that does not move";
    EXPECT_NEAR(motion_inputs[1].axis[0].position[0], 30.0 / 59.0 * 10.0, 1e-12);
}

TEST_F(MotionInputsTest, ViewBoundsAreUsedAsTheyAreWithoutLowerCut) {
    load_capture(1, 10, [](int, int f, int axis) { return axis == 0 ? 100.0 + f : 5.0; });
    view.bounds = {200, 300, 0, 10, 5, 5};  // x below the view's minimum, z without extent
    fuzzy_compute_inputs(6, 0, 1);
    const AxisMotion& x = motion_inputs[0].axis[0];
    EXPECT_NEAR(x.position[0], (106.0 - 200.0) / 100.0 * 10.0, 1e-12);
    EXPECT_NEAR(x.position[4], (102.0 - 200.0) / 100.0 * 10.0, 1e-12);
    EXPECT_NEAR(motion_inputs[0].axis[1].position[0], 5.0, 1e-12);
    EXPECT_EQ(motion_inputs[0].axis[2].position[0], 0.0);
}

TEST_F(MotionInputsTest, FrameFourUsesTheFirstFiveSamples) {
    load_capture(1, 8, [](int, int f, int) { return f * f; });
    fuzzy_compute_inputs(4, 0, 0);  // window 0..7: 0 .. 49
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(motion_inputs[0].axis[1].position[k], (4 - k) * (4 - k) / 49.0 * 10.0, 1e-12);
}

TEST_F(MotionInputsTest, SlidingBoundsMatchTheWindowAtEveryFrame) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-500, 500);
    std::uniform_int_distribution<int> chance(0, 9);
    const int frames = 400;
    load_capture(1, frames, [&](int, int f, int axis) {
        if (f > 200 && f < 330 && axis == 2) return LOST_VALUE;  // longer than a window
        if (chance(random) == 0) return LOST_VALUE;
        if (f > 150 && f < 160) return 150000.0 + f;  // beyond the starting bounds
        return std::round(value(random));             // ties between equal values
    });
    const Sample* samples = app.channels[0].samples.get();
    SlidingBounds sliding;
    sliding.reset(samples, frames);
    const auto same = [&](int n) {
        const AxisBounds expected = window_bounds(samples, frames, n);
        const AxisBounds& got = sliding.at(n);
        for (int axis = 0; axis < 3; ++axis) {
            ASSERT_EQ(got.min[axis], expected.min[axis]) << "n = " << n << " axis " << axis;
            ASSERT_EQ(got.max[axis], expected.max[axis]) << "n = " << n << " axis " << axis;
        }
    };
    for (int n = 4; n < frames; ++n) same(n);
    for (int n : {300, 120, 121, 122, 4, 399}) same(n);  // jumps start the window afresh
    sliding.reset(samples, frames);
    same(57);
    same(58);
}
