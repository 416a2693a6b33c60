// The zero-lag Butterworth filter against outputs computed with scipy (the script that made them
// is in reference/), its gain at the cutoff, the stretches between gaps, the refusal of cutoffs
// too high for the rate, and the residual analysis on a signal of known bandwidth.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/processing/butterworth_filter.h"
#include "engine/processing/residual_cutoff.h"
#include "support/test_support.h"

namespace {

constexpr double SCIPY_TOLERANCE = 1e-9;

std::string reference(const std::string& name) { return std::string(ZEMO_TEST_REFERENCE) + "/" + name; }

// A capture of one mark at `rate` whose x, y and z are value(frame, axis).
CaptureData one_mark(double rate, int frames, const std::function<double(int, int)>& value) {
    CaptureData data;
    data.capture_rate = rate;
    data.set_columns(3);
    data.num_frames = frames;
    data.channels[0].name = std::make_shared<const std::string>("M0");
    data.channels[0].samples = std::make_shared<Sample[]>(frames);
    for (int f = 0; f < frames; ++f) data.channels[0].samples[f] = {value(f, 0), value(f, 1), value(f, 2)};
    return data;
}

double filtered_alone(std::vector<double> values, double cutoff, double rate, int order, int at) {
    std::vector<double> scratch;
    filtfilt_stretch(butterworth_pass(cutoff, rate, order), values.data(), static_cast<int>(values.size()), 1, 1,
                     scratch);
    return values[at];
}

}  // namespace

TEST(Butterworth, MatchesScipyOnStepSinesAndNoise) {
    std::ifstream in(reference("butterworth_signals.txt"));
    ASSERT_TRUE(in) << reference("butterworth_signals.txt");
    std::string word, name;
    double rate, cutoff;
    int order, count, cases = 0;
    while (in >> word >> name >> rate >> cutoff >> order >> count) {
        ASSERT_EQ(word, "case");
        std::vector<double> x(count), expected(count);
        for (int i = 0; i < count; ++i) in >> x[i] >> expected[i];
        std::vector<double> scratch;
        filtfilt_stretch(butterworth_pass(cutoff, rate, order), x.data(), count, 1, 1, scratch);
        for (int i = 0; i < count; ++i) ASSERT_NEAR(x[i], expected[i], SCIPY_TOLERANCE) << name << " sample " << i;
        ++cases;
    }
    EXPECT_EQ(cases, 6);
}

TEST(Butterworth, GainAtTheCutoffIsHalfThePowerForEveryOrder) {
    const double rate = 100, cutoff = 6;
    std::vector<double> sine(3000);
    for (size_t f = 0; f < sine.size(); ++f) sine[f] = std::sin(2 * std::numbers::pi * cutoff * f / rate);
    for (int order : {2, 4, 6}) {
        std::vector<double> values = sine, scratch;
        filtfilt_stretch(butterworth_pass(cutoff, rate, order), values.data(), 3000, 1, 1, scratch);
        double peak = 0;
        for (int f = 1000; f < 2000; ++f) peak = std::max(peak, std::abs(values[f]));
        EXPECT_NEAR(peak, std::sqrt(0.5), 0.01 * std::sqrt(0.5)) << "order " << order;
    }
}

TEST(Butterworth, FiltersARealCaptureStretchByStretchAsScipy) {
    Recorder recorder;
    ASSERT_EQ(idf_read(shared_data("evart.idf")), 0);
    std::ifstream in(reference("evart_filtered.txt"));
    ASSERT_TRUE(in);
    std::string line;
    std::getline(in, line);  // the heading
    std::vector<int> marks;
    std::vector<std::vector<Sample>> expected;
    int mark, frame;
    Sample s;
    while (in >> mark >> frame >> s.x >> s.y >> s.z) {
        if (marks.empty() || marks.back() != mark) {
            marks.push_back(mark);
            expected.emplace_back();
        }
        expected.back().push_back(s);
    }
    ASSERT_EQ(marks.size(), 3u);
    std::vector<std::vector<Sample>> raw;
    for (int m : marks) raw.emplace_back(app.channels[m].samples.get(), app.channels[m].samples.get() + app.num_frames);
    const FilterOutcome outcome = butterworth_filter(app, marks, {0, app.num_frames - 1, 6, 4});
    EXPECT_FALSE(outcome.refused);
    EXPECT_EQ(outcome.channels_filtered, 3);
    for (size_t i = 0; i < marks.size(); ++i) {
        const Channel& channel = app.channels[marks[i]];
        ASSERT_EQ(expected[i].size(), static_cast<size_t>(app.num_frames));
        for (int f = 0; f < app.num_frames; ++f) {
            const Sample& want = expected[i][f];
            const Sample& got = channel.samples[f];
            for (auto [w, g] : {std::pair{want.x, got.x}, std::pair{want.y, got.y}, std::pair{want.z, got.z}}) {
                if (is_lost(w)) {
                    ASSERT_TRUE(is_lost(g)) << channel.name_text() << " frame " << f << " is no longer lost";
                } else {
                    ASSERT_NEAR(g, w, SCIPY_TOLERANCE) << channel.name_text() << " frame " << f;
                }
            }
            // A frame is marked filtered exactly when it was (stretches too short are not).
            const bool changed = got.x != raw[i][f].x || got.y != raw[i][f].y || got.z != raw[i][f].z;
            EXPECT_EQ(channel.origin(f), changed ? SampleOrigin::filter : SampleOrigin::measured) << "frame " << f;
        }
    }
    // Marks not asked for are left alone.
    EXPECT_EQ(app.channels[1].origins, nullptr);
}

TEST(Butterworth, GapsSplitStretchesAndShortStretchesStayAsTheyAre) {
    // x: seen 0..39, lost 40..44, seen 45..50 (6 frames, too short for order 4), lost 51..59,
    // seen 60..99; y is lost at frame 80 alone, so the axes are filtered apart.
    const auto raw = [](int f, int axis) {
        if ((f >= 40 && f <= 44) || (f >= 51 && f <= 59)) return LOST_VALUE;
        if (axis == 1 && f == 80) return LOST_VALUE;
        return 100 * std::sin(0.3 * f) + 10 * axis + (f % 3);
    };
    CaptureData data = one_mark(100, 100, raw);
    const FilterOutcome outcome = butterworth_filter(data, {0}, {0, 99, 6, 4});
    EXPECT_EQ(outcome.channels_filtered, 1);
    EXPECT_EQ(outcome.short_stretches, 1) << "the short stretch of three axes is one stretch of the mark";
    const Sample* got = data.channels[0].samples.get();
    std::vector<double> first, last, y_after;
    for (int f = 0; f <= 39; ++f) first.push_back(raw(f, 0));
    for (int f = 60; f <= 99; ++f) last.push_back(raw(f, 0));
    for (int f = 81; f <= 99; ++f) y_after.push_back(raw(f, 1));
    EXPECT_NEAR(got[20].x, filtered_alone(first, 6, 100, 4, 20), 1e-12);
    EXPECT_NEAR(got[62].x, filtered_alone(last, 6, 100, 4, 2), 1e-12);
    EXPECT_NEAR(got[90].y, filtered_alone(y_after, 6, 100, 4, 9), 1e-12);
    for (int f : {40, 44, 51, 59}) EXPECT_EQ(got[f].x, LOST_VALUE);
    EXPECT_EQ(got[80].y, LOST_VALUE);
    for (int f = 45; f <= 50; ++f) EXPECT_EQ(got[f].z, raw(f, 2)) << "frame " << f;
    EXPECT_EQ(data.channels[0].origin(47), SampleOrigin::measured);
}

TEST(Butterworth, RefusesCutoffsTooHighForTheRateAndChangesNothing) {
    Recorder recorder;
    // At 100 Hz, order 4, the corrected cutoff reaches 50 Hz at 40.11... Hz.
    CaptureData data = one_mark(100, 50, [](int f, int) { return f % 5; });
    const FilterOutcome refused = butterworth_filter(data, {0}, {0, 49, 40.2, 4});
    EXPECT_TRUE(refused.refused);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_NE(recorder.messages[0].text.find("The highest cutoff allowed is 40.11 Hz."), std::string::npos)
        << recorder.messages[0].text;
    EXPECT_EQ(data.channels[0].samples[3].x, 3);
    EXPECT_FALSE(butterworth_filter(data, {0}, {0, 49, 40.11, 4}).refused);
    EXPECT_NE(data.channels[0].samples[3].x, 3);
}

TEST(ResidualCutoff, FindsTheBandwidthOfANoisySignal) {
    // Components of equal amplitude every 0.5 Hz up to `band` Hz, plus white noise of a third of it.
    for (double band : {4.0, 8.0}) {
        std::mt19937 random(5);
        std::normal_distribution<double> noise(0, 1.0);
        const double rate = 100;
        CaptureData data = one_mark(rate, 2000, [&](int f, int axis) {
            double v = 0;
            for (double h = 0.5; h <= band; h += 0.5) v += 3 * std::sin(2 * std::numbers::pi * h * f / rate + axis + h);
            return v + noise(random);
        });
        const CutoffSuggestion suggestion = residual_cutoff(data, {0}, 0, 1999, 4);
        ASSERT_FALSE(suggestion.refused);
        EXPECT_NEAR(suggestion.overall, band, 1.0) << "band " << band;
        ASSERT_EQ(suggestion.marks.size(), 1u);
        EXPECT_EQ(suggestion.marks[0].cutoff, suggestion.overall);
    }
}
