// What each command that writes samples records about them: the samples it changed carry its
// origin, every other sample stays measured, a channel it did not change gets no origins, and
// interchange carries origins and residuals with the samples.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/formats/capture_io.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/curve_editor.h"
#include "engine/processing/trajectory_edit.h"
#include "support/test_support.h"

namespace {

constexpr int MARKS = 5;
constexpr int FRAMES = 100;

// Marks 0..3 are one rigid body turning while it travels, mark 4 moves on its own.
double rigid_body(int m, int f, int axis) {
    static const double body[4][3] = {{0, 0, 0}, {120, 10, 0}, {20, 110, 15}, {60, 50, 90}};
    if (m == 4) {
        return axis == 0 ? 300 * std::sin(0.09 * f) : axis == 1 ? 200 + 50 * std::cos(0.2 * f) : 40.0 * (f % 7) + 1;
    }
    const double a = 0.02 * f, b = 0.013 * f;
    const double* p = body[m];
    const double x1 = std::cos(a) * p[0] - std::sin(a) * p[1], y1 = std::sin(a) * p[0] + std::cos(a) * p[1];
    const double y2 = std::cos(b) * y1 - std::sin(b) * p[2], z2 = std::sin(b) * y1 + std::cos(b) * p[2];
    return axis == 0 ? x1 + 3.0 * f + 500 : axis == 1 ? y2 - 1.5 * f + 500 : z2 + 800 + 20 * std::sin(0.1 * f);
}

// Mark 3 is not seen over 20..23 (a short gap) and 60..79 (a long one); mark 1 loses only y at 40.
double gapped_body(int m, int f, int axis) {
    if (m == 3 && ((f >= 20 && f <= 23) || (f >= 60 && f <= 79))) return LOST_VALUE;
    if (m == 1 && f == 40 && axis == 1) return LOST_VALUE;
    return rigid_body(m, f, axis);
}

void open_capture(const TempDir& dir, const std::function<double(int, int, int)>& value) {
    const std::string path = dir.path("capture.idf");
    write_file(path, make_idf_text(100, MARKS, FRAMES, value));
    ASSERT_EQ(idf_read(path), 0);
}

std::vector<std::vector<Sample>> all_samples() {
    std::vector<std::vector<Sample>> samples;
    for (int m = 0; m < MARKS; ++m) {
        samples.emplace_back(app.channels[m].samples.get(), app.channels[m].samples.get() + FRAMES);
    }
    return samples;
}

bool any_lost(const Sample& s) { return is_lost(s.x) || is_lost(s.y) || is_lost(s.z); }
bool all_lost(const Sample& s) { return is_lost(s.x) && is_lost(s.y) && is_lost(s.z); }
bool same(const Sample& a, const Sample& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

void edit_mark_2() {
    const CurveTarget target{2, 0, 10, 30};
    CurveScale scale;
    curve_load_points(app, target, 1, scale);
    const double xs[] = {0.0, 1.0}, ys[] = {0.25, 0.75};
    ASSERT_EQ(marks_curve_store(app, target, scale, 2, xs, ys), 0);
}

}  // namespace

TEST(SampleOrigins, EachCommandMarksTheSamplesItWroteAndNothingElse) {
    const auto always = [](SampleOrigin origin) { return [origin](int, int) { return origin; }; };
    const auto lost_sample = [](int, int, const Sample& before) { return any_lost(before); };
    struct Case {
        const char* name;
        std::function<void()> command;
        std::function<bool(int m, int f, const Sample& before)> writes;
        std::function<SampleOrigin(int m, int f)> origin;
    } cases[] = {
        {"repair", [] { run_repair(app, 0, FRAMES - 1, all_channels(app)); }, lost_sample, always(SampleOrigin::repair)},
        {"smoothing", [] { run_smooth(app, 0, FRAMES - 1, {0, 2}, 5); },
         // One chunk of 100 frames: every fifth frame and the last are kept.
         [](int m, int f, const Sample&) { return (m == 0 || m == 2) && f % 5 != 0 && f != FRAMES - 1; },
         always(SampleOrigin::smoothing)},
        {"fill spline", [] { run_fill(app, 0, FRAMES - 1, all_channels(app), FillMethod::spline, 0); }, lost_sample,
         always(SampleOrigin::fill_spline)},
        {"fill from marks", [] { run_fill(app, 0, FRAMES - 1, all_channels(app), FillMethod::rigid, 0); }, lost_sample,
         always(SampleOrigin::fill_marks)},
        {"fill automatic", [] { run_fill(app, 0, FRAMES - 1, all_channels(app), FillMethod::automatic, 0); }, lost_sample,
         always(SampleOrigin::fill_marks)},  // on a rigid body the other marks fill exactly, short gaps too
        {"curve edit", edit_mark_2, [](int m, int f, const Sample&) { return m == 2 && f >= 10 && f <= 30; },
         always(SampleOrigin::edit)},
        // A sample with one axis lost has its other axes scaled: it is computed, and still lost.
        {"scaling", [] { scale_data(app, 0.5f); }, [](int, int, const Sample& before) { return !all_lost(before); },
         always(SampleOrigin::scaling)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        TempDir dir;
        open_capture(dir, gapped_body);
        const auto before = all_samples();
        c.command();
        for (int m = 0; m < MARKS; ++m) {
            bool wrote = false;
            for (int f = 0; f < FRAMES; ++f) {
                const bool writes = c.writes(m, f, before[m][f]);
                wrote |= writes;
                ASSERT_EQ(!same(before[m][f], app.channels[m].samples[f]), writes) << "mark " << m << " frame " << f;
                ASSERT_EQ(app.channels[m].origin(f), writes ? c.origin(m, f) : SampleOrigin::measured)
                    << "mark " << m << " frame " << f;
            }
            EXPECT_EQ(app.channels[m].origins == nullptr, !wrote) << "mark " << m;
            EXPECT_EQ(app.layers[app.current_layer].channels[m].origins, app.channels[m].origins) << "mark " << m;
        }
    }
}

TEST(SampleOrigins, CommandsThatWriteNothingMakeNoOrigins) {
    const std::function<void()> commands[] = {
        [] { run_repair(app, 0, FRAMES - 1, all_channels(app)); },
        [] { run_smooth(app, 0, FRAMES - 1, all_channels(app), 1); },
        [] { run_fill(app, 0, FRAMES - 1, all_channels(app), FillMethod::automatic, 0); },
        [] { scale_data(app, 0.0f); },
        // The samples move, but measured ones stay measured wherever they go.
        [] { interchange_channels(app, 10, 20, 0, 4); },
    };
    for (const auto& command : commands) {
        Recorder recorder;
        TempDir dir;
        open_capture(dir, rigid_body);
        command();
        for (int m = 0; m < MARKS; ++m) EXPECT_EQ(app.channels[m].origins, nullptr) << "mark " << m;
    }
}

TEST(SampleOrigins, InterchangeCarriesOriginsAndResidualsOverItsIntervalOnly) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir, gapped_body);
    run_repair(app, 0, FRAMES - 1, {3});  // mark 3 has origins, mark 0 none
    for (int m : {0, 3}) {
        app.channels[m].residuals = std::make_shared<float[]>(FRAMES);
        for (int f = 0; f < FRAMES; ++f) app.channels[m].residuals[f] = 1000.0f * m + f;
    }
    const auto before = all_samples();
    std::vector<SampleOrigin> origins_3(app.channels[3].origins.get(), app.channels[3].origins.get() + FRAMES);

    interchange_channels(app, 15, 65, 0, 3);
    ASSERT_NE(app.channels[0].origins, nullptr);
    EXPECT_EQ(app.layers[app.current_layer].channels[0].origins, app.channels[0].origins);
    for (int f = 0; f < FRAMES; ++f) {
        const bool inside = f >= 15 && f <= 65;
        const int from_0 = inside ? 3 : 0, from_3 = inside ? 0 : 3;
        ASSERT_TRUE(same(app.channels[0].samples[f], before[from_0][f])) << f;
        ASSERT_TRUE(same(app.channels[3].samples[f], before[from_3][f])) << f;
        EXPECT_EQ(app.channels[0].origin(f), inside ? origins_3[f] : SampleOrigin::measured) << f;
        EXPECT_EQ(app.channels[3].origin(f), inside ? SampleOrigin::measured : origins_3[f]) << f;
        EXPECT_EQ(app.channels[0].residuals[f], 1000.0f * from_0 + f) << f;
        EXPECT_EQ(app.channels[3].residuals[f], 1000.0f * from_3 + f) << f;
    }
    EXPECT_EQ(app.channels[0].origin(20), SampleOrigin::repair);  // the repaired short gap came along
    EXPECT_EQ(app.channels[3].origin(70), SampleOrigin::repair);  // the long one stays where it is outside
}
