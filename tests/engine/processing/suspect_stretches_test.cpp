// The jump and swap detector on a smooth hand-made capture with faults put in, the cut, and the
// gap list's rows.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/processing/gap_fill.h"
#include "engine/processing/gap_list.h"
#include "engine/processing/suspect_stretches.h"

namespace {

constexpr int MARKS = 6;
constexpr int FRAMES = 200;

// Marks 100 apart, each on its own smooth loop at 100 Hz.
CaptureData smooth_capture() {
    CaptureData data;
    data.capture_rate = 100;
    data.set_columns(3 * MARKS);
    data.num_frames = FRAMES;
    for (int m = 0; m < MARKS; ++m) {
        data.channels[m].name = std::make_shared<const std::string>("M" + std::to_string(m));
        data.channels[m].samples = std::make_shared<Sample[]>(FRAMES);
        for (int f = 0; f < FRAMES; ++f) {
            const double a = 0.044 * f + m;
            data.channels[m].samples[f] = {100.0 * m + 200 * std::sin(a), 300 * std::cos(a), 1000 + 50 * std::sin(2 * a)};
        }
    }
    return data;
}

void lose(CaptureData& data, int mark, int first, int last) {
    for (int f = first; f <= last; ++f) data.channels[mark].samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
}

TEST(SuspectStretches, SmoothCaptureWithGapsHasNone) {
    CaptureData data = smooth_capture();
    lose(data, 0, 0, 3);
    lose(data, 2, 100, 100);
    lose(data, 4, 150, FRAMES - 1);
    const SuspectSearch search = find_suspect_stretches(data);
    EXPECT_TRUE(search.stretches.empty());
    EXPECT_GT(search.threshold, 0);
}

TEST(SuspectStretches, EachSpikeIsOneStretchOverItsFrames) {
    struct Spike {
        int mark, first, last;
        double size;
    };
    const Spike spikes[] = {{0, 20, 20, 35}, {1, 50, 52, 400}, {1, 120, 124, 60}, {5, 190, 194, 80}};
    CaptureData data = smooth_capture();
    for (const Spike& s : spikes) {
        for (int f = s.first; f <= s.last; ++f) data.channels[s.mark].samples[f].y += s.size;
    }
    const SuspectSearch search = find_suspect_stretches(data);
    // The last spike runs to two frames before the end: enough to see it, not to mend it, so its
    // stretch is the frames between its outer flags.
    ASSERT_EQ(search.stretches.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(search.stretches[i].mark, spikes[i].mark);
        EXPECT_EQ(search.stretches[i].first, spikes[i].first);
        EXPECT_EQ(search.stretches[i].last, spikes[i].last);
        EXPECT_EQ(search.stretches[i].kind, SuspectKind::jump);
    }
    EXPECT_EQ(search.stretches[3].mark, 5);
    EXPECT_LE(search.stretches[3].first, 191);
    // A limit above every spike finds nothing.
    EXPECT_TRUE(find_suspect_stretches(data, 1e9).stretches.empty());
}

TEST(SuspectStretches, SwappedMarksGiveOneSwapStretchEach) {
    CaptureData data = smooth_capture();
    for (int f = 60; f <= 79; ++f) std::swap(data.channels[2].samples[f], data.channels[3].samples[f]);
    std::swap(data.channels[1].samples[100], data.channels[5].samples[100]);  // for one frame
    // Swapped and never swapped back: suspect until the capture ends.
    for (int f = 150; f < FRAMES; ++f) std::swap(data.channels[0].samples[f], data.channels[4].samples[f]);
    const SuspectSearch search = find_suspect_stretches(data);
    ASSERT_EQ(search.stretches.size(), 6u);
    const int expected[6][3] = {{0, 150, FRAMES - 1}, {1, 100, 100}, {2, 60, 79},
                                {3, 60, 79},          {4, 150, FRAMES - 1}, {5, 100, 100}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(search.stretches[i].mark, expected[i][0]);
        EXPECT_EQ(search.stretches[i].first, expected[i][1]);
        EXPECT_EQ(search.stretches[i].last, expected[i][2]);
        EXPECT_EQ(search.stretches[i].kind, SuspectKind::swap);
    }
}

TEST(SuspectStretches, CutMakesTheStretchLostAndSaysItWasEdited) {
    CaptureData data = smooth_capture();
    lose(data, 1, 11, 11);
    EXPECT_EQ(cut_stretch(data, {1, 10, 12, SuspectKind::jump}), 2);
    for (int f = 10; f <= 12; ++f) EXPECT_TRUE(is_lost(data.channels[1].samples[f].x));
    EXPECT_FALSE(is_lost(data.channels[1].samples[13].x));
    EXPECT_EQ(data.channels[1].origin(10), SampleOrigin::edit);
    EXPECT_EQ(data.error_count, 9);
    EXPECT_TRUE(data.samples_changed);
}

TEST(GapList, ListsEveryGapThenTheSuspectStretchesByMark) {
    CaptureData data = smooth_capture();
    lose(data, 0, 0, 2);             // at the first frame
    lose(data, 0, 50, 50);           // one frame
    lose(data, 0, FRAMES - 1, FRAMES - 1);  // at the last frame
    lose(data, 3, 0, FRAMES - 1);    // lost everywhere
    data.channels[4].samples[70].z = LOST_VALUE;  // one coordinate is enough
    data.channels[2].samples[100].x += 90;
    const std::vector<GapRow> rows = gap_list(data);
    const GapRow expected[] = {{0, 0, 2, GapRowKind::gap},           {0, 50, 50, GapRowKind::gap},
                               {0, FRAMES - 1, FRAMES - 1, GapRowKind::gap}, {2, 100, 100, GapRowKind::jump},
                               {3, 0, FRAMES - 1, GapRowKind::gap},  {4, 70, 70, GapRowKind::gap}};
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].mark, expected[i].mark);
        EXPECT_EQ(rows[i].first, expected[i].first);
        EXPECT_EQ(rows[i].last, expected[i].last);
        EXPECT_EQ(rows[i].kind, expected[i].kind);
    }
    EXPECT_DOUBLE_EQ(gap_row_seconds(data, rows[0]), 0.03);
    EXPECT_DOUBLE_EQ(gap_row_seconds(data, rows[4]), 2.0);
}

TEST(GapList, AFilledGapIsListedWithItsEstimateWhileItsSamplesHoldTheFill) {
    CaptureData data = smooth_capture();
    lose(data, 1, 60, 64);
    lose(data, 2, 90, 90);
    fill_gaps(data, {1}, {0, FRAMES - 1, FillMethod::spline, 0});
    std::vector<GapRow> rows = gap_list(data);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].kind, GapRowKind::filled);
    EXPECT_EQ(rows[0].first, 60);
    EXPECT_EQ(rows[0].last, 64);
    EXPECT_TRUE(std::isfinite(rows[0].estimated_error));
    EXPECT_EQ(rows[1].kind, GapRowKind::gap);
    // Lost again (as an undo leaves it): the gap is listed, not its fill.
    lose(data, 1, 62, 62);
    rows = gap_list(data);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].kind, GapRowKind::gap);
    EXPECT_EQ(rows[0].first, 62);
}

}  // namespace
