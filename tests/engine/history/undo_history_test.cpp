// Undo and redo of every kind of command that changes a layer: what is undone comes back byte for
// byte, what is redone is the command's result again; the history keeps within its memory budget,
// and follows which of its points the saved file holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/formats/capture_io.h"
#include "engine/history/undo_history.h"
#include "engine/history/undo_step.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/curve_editor.h"
#include "engine/processing/filter_commands.h"
#include "engine/processing/gap_fill.h"
#include "engine/processing/trajectory_edit.h"
#include "engine/skeleton/skeleton_edit.h"
#include "support/test_support.h"

namespace {

constexpr int MARKS = 4;
constexpr int FRAMES = 120;

// Smooth paths; mark 3 is not seen over 20..25 and mark 1 loses y at 40.
double gapped_path(int m, int f, int axis) {
    if ((m == 3 && f >= 20 && f <= 25) || (m == 1 && f == 40 && axis == 1)) return LOST_VALUE;
    return 100.0 * m + 30.0 * std::sin(0.05 * f + axis + m) + 2.0 * f;
}

void open_capture(const TempDir& dir) {
    const std::string path = dir.path("capture.idf");
    write_file(path, make_idf_text(100, MARKS, FRAMES, gapped_path));
    ASSERT_EQ(idf_read(path), 0);
}

// Everything undo must bring back, as bytes.
std::string layer_bytes(const CaptureData& data) {
    std::string bytes;
    const auto add = [&bytes](const void* p, size_t n) { bytes.append(static_cast<const char*>(p), n); };
    for (int m = 0; m < data.mark_count(); ++m) {
        const Channel& channel = data.channels[m];
        add(channel.samples.get(), sizeof(Sample) * static_cast<size_t>(data.num_frames));
        for (int f = 0; f < data.num_frames; ++f) bytes += static_cast<char>(channel.origin(f));
        bytes += channel.name_text() + '\n';
        add(&data.mark_styles[m], sizeof(MarkStyle));
    }
    add(data.bones.data(), sizeof(Bone) * static_cast<size_t>(data.bone_count));
    add(&data.bone_count, sizeof data.bone_count);
    add(&data.error_count, sizeof data.error_count);
    return bytes;
}

constexpr int LARGE_MARKS = 120, LARGE_FRAMES = 100000;

// 120 marks of 100 000 frames; with gaps, marks 0..99 lose 10 frames each.
CaptureData large_capture(bool gaps) {
    CaptureData data;
    data.capture_rate = 100;
    data.num_frames = LARGE_FRAMES;
    data.set_columns(3 * LARGE_MARKS);
    for (int m = 0; m < LARGE_MARKS; ++m) {
        auto samples = std::make_shared<Sample[]>(LARGE_FRAMES);
        for (int f = 0; f < LARGE_FRAMES; ++f) {
            const double t = 0.001 * f + m;
            samples[f] = {100 * std::sin(t), 100 * std::cos(t), 10.0 * m + 0.01 * f};
        }
        if (gaps && m < 100) {
            for (int f = 500 * m + 100; f < 500 * m + 110; ++f) samples[f] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
        }
        data.channels[m].name = std::make_shared<const std::string>("M" + std::to_string(m));
        data.channels[m].samples = samples;
    }
    return data;
}

}  // namespace

TEST(UndoHistory, UndoRestoresEachCommandByteForByteAndRedoRepeatsIt) {
    struct Case {
        const char* name;
        std::function<void(UndoStep&)> run;
    };
    const std::vector<int> all = {0, 1, 2, 3};
    const Case cases[] = {
        {"Repair", [&](UndoStep& s) { s.keep_marks(all, 0, FRAMES - 1); run_repair(app, 0, FRAMES - 1, all); }},
        {"Fill", [&](UndoStep& s) {
             s.keep_marks(all, 0, FRAMES - 1);
             run_fill(app, 0, FRAMES - 1, all, FillMethod::automatic, 50);
         }},
        {"Smooth", [](UndoStep& s) { s.keep(0, 10, 90); run_smooth(app, 10, 90, {0}, 5); }},
        {"Filter", [](UndoStep& s) { s.keep(2, 0, FRAMES - 1); run_filter(app, 0, FRAMES - 1, {2}, 6.0, 4); }},
        {"Interchange", [](UndoStep& s) {
             // Repaired first, so the samples exchanged carry origins of their own.
             s.keep_all();
             run_repair(app, 0, FRAMES - 1, {3});
             interchange_channels(app, 10, 50, 0, 3);
         }},
        {"Scale", [](UndoStep& s) { s.keep_all(); scale_data(app, 0.25f); }},
        {"Edit curve", [](UndoStep& s) {
             const CurveTarget target{2, 1, 30, 60};
             s.keep(2, 30, 60);
             CurveScale scale;
             curve_load_points(app, target, 1, scale);
             const double xs[] = {0.0, 1.0}, ys[] = {0.1, 0.9};
             marks_curve_store(app, target, scale, 2, xs, ys);
         }},
        {"Skeleton", [](UndoStep& s) {
             s.keep_skeleton();
             skeleton_insert_bone(app, 0, 1, 3);
             skeleton_insert_bone(app, 1, 2, 4);
             skeleton_change_mark(app, 2, 5, 0);
         }},
        {"Rename mark", [](UndoStep& s) {
             s.keep_names();
             app.channels[1].name = std::make_shared<const std::string>("HEEL");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        TempDir dir;
        open_capture(dir);
        const std::string before = layer_bytes(app);
        {
            UndoStep step(app, c.name);
            c.run(step);
        }
        const std::string after = layer_bytes(app);
        ASSERT_NE(after, before);
        ASSERT_NE(app.history->next_undo(), nullptr);
        EXPECT_EQ(*app.history->next_undo(), c.name);
        ASSERT_NE(undo_last(app), nullptr);
        EXPECT_EQ(layer_bytes(app), before);
        EXPECT_EQ(recorder.history.back(), std::string("Undone: ") + c.name + "\n");
        ASSERT_NE(redo_next(app), nullptr);
        EXPECT_EQ(layer_bytes(app), after);
        EXPECT_EQ(recorder.history.back(), std::string("Redone: ") + c.name + "\n");
        undo_last(app);
        EXPECT_EQ(layer_bytes(app), before);
        EXPECT_FALSE(app.has_unsaved_work());
    }
}

TEST(UndoHistory, NestedStepsAndRepeatedKeepsStoreOneStepOfTheFirstValues) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir);
    const std::string before = layer_bytes(app);
    {
        UndoStep outer(app, "Repair and smooth");
        outer.keep(3, 0, 30);
        run_repair(app, 0, 30, {3});
        {
            UndoStep inner(app, "Smooth");
            inner.keep(3, 0, FRAMES - 1);  // frames 0..30 were kept before the repair wrote them
            run_smooth(app, 0, FRAMES - 1, {3}, 4);
        }
    }
    EXPECT_EQ(app.history->undo_count(), 1u);
    EXPECT_EQ(*app.history->next_undo(), "Repair and smooth");
    undo_last(app);
    EXPECT_EQ(layer_bytes(app), before);
}

TEST(UndoHistory, TheBudgetDropsTheOldestStepsButNeverTheLast) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir);
    const auto scale_once = [] {
        UndoStep step(app, "Scale");
        step.keep_all();
        scale_data(app, 0.1f);
    };
    scale_once();
    const size_t one_step = app.history->bytes();
    app.history->budget = one_step * 5 / 2;
    for (int i = 0; i < 4; ++i) scale_once();
    EXPECT_EQ(app.history->undo_count(), 2u);
    EXPECT_LE(app.history->bytes(), app.history->budget);
    app.history->budget = 1;
    scale_once();
    EXPECT_EQ(app.history->undo_count(), 1u);
    EXPECT_NE(undo_last(app), nullptr);
    EXPECT_EQ(undo_last(app), nullptr);
}

TEST(UndoHistory, UndoingBackToTheSavedStateClearsTheUnsavedMark) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir);
    const auto repair_mark = [](int mark) {
        UndoStep step(app, "Repair");
        step.keep(mark, 0, FRAMES - 1);
        run_repair(app, 0, FRAMES - 1, {mark});
    };
    repair_mark(3);
    EXPECT_TRUE(app.samples_changed);
    undo_last(app);
    EXPECT_FALSE(app.samples_changed);
    redo_next(app);
    ASSERT_EQ(capture_save(app).ok(), true);  // the save moves the saved point here
    repair_mark(1);
    undo_last(app);
    EXPECT_FALSE(app.samples_changed);
    undo_last(app);
    EXPECT_TRUE(app.samples_changed);
    {
        UndoStep step(app, "Insert bone");
        step.keep_skeleton();
        skeleton_insert_bone(app, 0, 2, 1);
    }
    EXPECT_TRUE(app.skeleton_changed);
    undo_last(app);
    EXPECT_FALSE(app.skeleton_changed);
    // A change made outside the history: no undo reaches the saved state again.
    redo_next(app);
    note_samples_changed(app);
    undo_last(app);
    redo_next(app);
    EXPECT_TRUE(app.samples_changed);
}

TEST(UndoHistory, HundredOneMarkFillsOfALargeCaptureStayFarUnderTheBudget) {
    Recorder recorder;
    CaptureData data = large_capture(true);
    for (int m = 0; m < 100; ++m) {
        UndoStep step(data, "Fill");
        step.keep(m, 0, LARGE_FRAMES - 1);
        // Around the gap only: the fill would otherwise look for the gaps of every mark each time.
        fill_gaps(data, {m}, {500 * m, 500 * m + 300, FillMethod::spline, 50});
    }
    ASSERT_EQ(data.history->undo_count(), 100u);
    EXPECT_EQ(count_lost_values(data), 0);
    EXPECT_LT(data.history->bytes(), size_t{1} << 20);
}

TEST(UndoHistory, AWholeCaptureSmoothingIsStillUndoable) {
    Recorder recorder;
    CaptureData data = large_capture(false);
    std::vector<Sample> before;
    before.reserve(size_t{LARGE_MARKS} * LARGE_FRAMES);
    for (const Channel& channel : data.channels) {
        before.insert(before.end(), channel.samples.get(), channel.samples.get() + LARGE_FRAMES);
    }
    const auto unchanged = [&] {
        for (int m = 0; m < LARGE_MARKS; ++m) {
            const Sample* kept = &before[size_t{LARGE_FRAMES} * m];
            if (std::memcmp(data.channels[m].samples.get(), kept, sizeof(Sample) * LARGE_FRAMES) != 0) return false;
        }
        return true;
    };
    {
        UndoStep step(data, "Smooth");
        step.keep_all();
        run_smooth(data, 0, LARGE_FRAMES - 1, all_channels(data), 5);
    }
    ASSERT_EQ(data.history->undo_count(), 1u);
    EXPECT_LE(data.history->bytes(), UndoHistory::DEFAULT_BUDGET);
    ASSERT_FALSE(unchanged());
    ASSERT_NE(undo_last(data), nullptr);
    EXPECT_TRUE(unchanged());
}

TEST(UndoHistory, EachLayerKeepsItsHistoryAcrossSwitchesUntilItCloses) {
    Recorder recorder;
    TempDir dir;
    open_capture(dir);
    const std::string opened = layer_bytes(app);
    {
        UndoStep step(app, "Scale");
        step.keep_all();
        scale_data(app, 0.5f);
    }
    open_capture(dir);  // a second layer, current now
    EXPECT_EQ(undo_last(app), nullptr);
    layer_store(2);
    app.current_layer = 1;
    layer_fetch(1);
    ASSERT_NE(undo_last(app), nullptr);
    EXPECT_EQ(layer_bytes(app), opened);
    close_current_capture();
    EXPECT_EQ(app.history, nullptr);
    EXPECT_EQ(app.layers[1].history, nullptr);
}
