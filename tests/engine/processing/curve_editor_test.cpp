// The trajectory editor's arithmetic: interval clamping, samples to control points and back.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/formats/capture_io.h"
#include "engine/model/seams.h"
#include "engine/processing/curve_editor.h"
#include "support/test_support.h"

namespace {

// One capture of `marks` marks and `frames` frames as the current layer.
void open_capture(TempDir& dir, int marks, int frames, const std::function<double(int, int, int)>& value) {
    const std::string path = dir.path("capture.idf");
    write_file(path, make_idf_text(100, marks, frames, value, {"RSHO", "LKNE"}));
    ASSERT_EQ(idf_read(path), 0);
}

std::vector<double> axis_values(int mark, int axis) {
    std::vector<double> values;
    for (int f = 0; f < app.num_frames; ++f) values.push_back(axis_coordinate(app.channels[mark].samples[f], axis));
    return values;
}

// Loads the target and writes the loaded curve straight back, as " Make   " right after a load.
int load_and_store(const CurveTarget& target, CurveScale& scale) {
    const CurveControls controls = curve_controls(curve_load_points(app, target, 1, scale));
    return marks_curve_store(app, target, scale, static_cast<int>(controls.xs.size()), controls.xs.data(),
                             controls.ys.data());
}

}  // namespace

TEST(CurveInterval, KeepsTwoFramesInsideTheCapture) {
    struct Case {
        int first, last, frames, want_first, want_last;
    };
    for (const Case& c : {Case{1, 1, 10, 1, 2},  // the spin buttons' values after a refresh
                          Case{5, 3, 10, 5, 6}, Case{4, 4, 10, 4, 5}, Case{0, 20, 10, 0, 9}, Case{9, 9, 10, 8, 9},
                          Case{12, 15, 10, 8, 9}, Case{2, 7, 10, 2, 7}, Case{0, 1, 2, 0, 1}}) {
        const CurveInterval interval = clamp_curve_interval(c.first, c.last, c.frames);
        EXPECT_EQ(interval.first_frame, c.want_first) << c.first << ".." << c.last << " of " << c.frames;
        EXPECT_EQ(interval.last_frame, c.want_last) << c.first << ".." << c.last << " of " << c.frames;
    }
}

TEST(CurveLoad, PutsTheIntervalOnTheUnitSquareWithLostFramesAtTheTopWhereMakeLeavesThem) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir, 2, 12, [](int m, int f, int a) {
        if (m == 1 && a == 1 && f == 5) return LOST_VALUE;
        return m == 1 && a == 1 ? f * f * 0.5 : 7.0;
    });
    CurveScale scale;
    const std::vector<CurvePoint> points = curve_load_points(app, {1, 1, 2, 7}, 1, scale);
    // The lost frame 5 takes no part in the bounds.
    EXPECT_EQ(scale.curve_min, 2.0);
    EXPECT_EQ(scale.curve_max, 24.5);
    ASSERT_EQ(points.size(), 6u);
    EXPECT_EQ(points.front().x, 0.0f);
    EXPECT_EQ(points.back().x, 1.0f);
    EXPECT_FLOAT_EQ(points[2].x, 0.4f);
    EXPECT_EQ(points.front().y, 0.0f);
    EXPECT_FLOAT_EQ(points[1].y, (4.5 - 2.0) / 22.5);
    EXPECT_EQ(points[3].y, 1.0f);  // frame 5, lost
    EXPECT_EQ(points.back().y, 1.0f);

    const int errors = app.error_count;
    const CurveControls controls = curve_controls(points);
    ASSERT_EQ(marks_curve_store(app, {1, 1, 2, 7}, scale, 6, controls.xs.data(), controls.ys.data()), 0);
    EXPECT_NEAR(app.channels[1].samples[5].y, 24.5, 1e-5);
    EXPECT_EQ(app.error_count, errors);  // no longer lost, but not counted again
}

TEST(CurveLoad, KeepsTheScaleUnlessAskedToRescale) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir, 1, 6, [](int, int f, int) { return 10.0 + f; });
    CurveScale scale;
    curve_load_points(app, {0, 0, 0, 4}, 1, scale);
    app.channels[0].samples[4].x = 24.0;
    EXPECT_FLOAT_EQ(curve_load_points(app, {0, 0, 0, 4}, 0, scale)[4].y, 3.5);  // above the kept top
    EXPECT_EQ(scale.curve_max, 14.0);
    EXPECT_EQ(curve_load_points(app, {0, 0, 0, 4}, 1, scale)[4].y, 1.0f);
    EXPECT_EQ(scale.curve_max, 24.0);

    // A scale never taken is taken by any load.
    CurveScale unset;
    EXPECT_EQ(curve_load_points(app, {0, 0, 1, 3}, 0, unset)[0].y, 0.0f);
    EXPECT_EQ(unset.curve_min, 11.0);
}

TEST(CurveStore, MakeRightAfterLoadWritesBackTheValues) {
    Recorder recorder;
    TempDir dir;
    // Longer than a hundred frames, so the curve holds more points than a repair chunk.
    open_capture(dir, 2, 300, [](int m, int f, int a) { return m * 1000.0 + 100.0 * std::sin(f / 17.0) + a; });
    const std::vector<double> before = axis_values(1, 2);
    const std::vector<double> other_axis = axis_values(1, 0);
    CurveScale scale;
    ASSERT_EQ(load_and_store({1, 2, 20, 269}, scale), 0);
    const std::vector<double> after = axis_values(1, 2);
    const double tolerance = (scale.curve_max - scale.curve_min) * 2e-5;
    for (int f = 0; f < 300; ++f) EXPECT_NEAR(after[f], before[f], tolerance) << "frame " << f;
    EXPECT_EQ(after[19], before[19]);
    EXPECT_EQ(after[270], before[270]);
    EXPECT_EQ(axis_values(1, 0), other_axis);
    EXPECT_EQ(recorder.history, std::vector<std::string>{"The interval [20,269] of LKNE is edited manually\n"});
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(CurveStore, FlatIntervalLoadsInTheMiddleAndKeepsItsValue) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir, 1, 6, [](int, int f, int) { return f == 2 ? LOST_VALUE : 4.25; });
    CurveScale scale;
    const std::vector<CurvePoint> points = curve_load_points(app, {0, 1, 0, 5}, 1, scale);
    for (const CurvePoint& point : points) EXPECT_EQ(point.y, 0.5f);
    // Whatever the user does with the points, the interval has nothing to scale them by.
    const std::vector<double> xs = {0, 0.5, 1}, ys = {0.1, 0.9, 0.3};
    ASSERT_EQ(marks_curve_store(app, {0, 1, 0, 5}, scale, 3, xs.data(), ys.data()), 0);
    EXPECT_EQ(axis_values(0, 1), std::vector<double>(6, 4.25));
}

TEST(CurveStore, IntervalWithoutValidValueIsRefusedAndLeftAlone) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir, 2, 6, [](int m, int, int) { return m == 0 ? LOST_VALUE : 1.0; });
    CurveScale scale;
    for (const CurvePoint& point : curve_load_points(app, {0, 2, 1, 4}, 1, scale)) EXPECT_EQ(point.y, 1.0f);
    const std::vector<double> xs = {0, 1}, ys = {0.2, 0.7};
    EXPECT_EQ(marks_curve_store(app, {0, 2, 1, 4}, scale, 2, xs.data(), ys.data()), 1);
    EXPECT_EQ(axis_values(0, 2), std::vector<double>(6, LOST_VALUE));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "The interval [1,4] of RSHO has no valid value to edit.");
    EXPECT_EQ(recorder.messages[0].type, MESSAGE_ERROR);
    EXPECT_EQ(recorder.messages[0].buttons, BUTTONS_CLOSE);
    EXPECT_TRUE(recorder.history.empty());
}

// Frames locate their segment by x but evaluate it by point number: three points at x 0, 0.8 and
// 1 over eleven frames put frame 4 half-way along segment 0 and frame 9 half-way along segment 1.
TEST(CurveStore, FollowsTheCubicOfEachSegmentAtTheFractionOfItsXDistance) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir, 1, 11, [](int, int, int) { return 0.0; });
    const CurveScale scale{10.0, 20.0, true};
    const double y0 = 0.0, y1 = 1.0, y2 = 0.5;
    const std::vector<double> xs = {0, 0.8, 1}, ys = {y0, y1, y2};
    ASSERT_EQ(marks_curve_store(app, {0, 0, 0, 10}, scale, 3, xs.data(), ys.data()), 0);
    // The natural spline through three knots one unit apart, by its second derivatives: zero at the
    // ends and m1 = 1.5 (y0 - 2 y1 + y2) in the middle; half-way along a segment it is the mean of
    // its ends less m1 / 16.
    const double m1 = 1.5 * (y0 - 2 * y1 + y2);
    const std::vector<double> x = axis_values(0, 0);
    EXPECT_DOUBLE_EQ(x[0], 10.0);
    EXPECT_NEAR(x[4], 10.0 + 10.0 * ((y0 + y1) / 2 - m1 / 16), 1e-9);
    EXPECT_NEAR(x[8], 20.0, 1e-9);
    EXPECT_NEAR(x[9], 10.0 + 10.0 * ((y1 + y2) / 2 - m1 / 16), 1e-9);
    EXPECT_DOUBLE_EQ(x[10], 15.0);

    // Two points give the straight line between them, frames evenly spaced along it.
    const std::vector<double> line_xs = {0, 1}, line_ys = {0.2, 0.7};
    ASSERT_EQ(marks_curve_store(app, {0, 1, 0, 10}, scale, 2, line_xs.data(), line_ys.data()), 0);
    for (int f = 0; f <= 10; ++f) EXPECT_NEAR(app.channels[0].samples[f].y, 12.0 + 0.5 * f, 1e-9) << f;

    // A single point left on the curve holds every frame at its height.
    const std::vector<double> one_x = {1}, one_y = {0.3};
    ASSERT_EQ(marks_curve_store(app, {0, 2, 3, 6}, scale, 1, one_x.data(), one_y.data()), 0);
    EXPECT_EQ(axis_values(0, 2), (std::vector<double>{0, 0, 0, 13, 13, 13, 13, 0, 0, 0, 0}));
}

TEST(CurveControls, PinsTheFirstAndLastPointsToTheEndsOfTheInterval) {
    const CurveControls controls = curve_controls({{0.1f, 0.2f}, {0.5f, 0.3f}, {0.9f, 0.4f}});
    EXPECT_EQ(controls.xs, (std::vector<double>{0.0, 0.5, 1.0}));
    EXPECT_EQ(controls.ys, (std::vector<double>{0.2f, 0.3f, 0.4f}));
}
