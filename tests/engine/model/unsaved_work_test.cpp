// Which commands leave the current layer with unsaved samples or skeleton, and how often the
// interface is told that samples changed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "engine/formats/capture_io.h"
#include "engine/fuzzy/expert_system.h"
#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/channel_commands.h"
#include "engine/processing/curve_editor.h"
#include "engine/processing/trajectory_edit.h"
#include "engine/skeleton/skeleton_edit.h"
#include "engine/skeleton/skeleton_file.h"
#include "support/fuzzy_test_support.h"

namespace {

struct UnsavedWork : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    int reported = 0;

    void SetUp() override {
        Seams seams = installed_seams();
        seams.samples_changed = [this] { ++reported; };
        install_seams(seams);
    }
};

// Mark 0 is whole and curved; mark 1 is lost at frames 20 .. 22.
double curved_with_gap(int m, int f, int a) {
    if (m == 1 && f >= 20 && f <= 22) return LOST_VALUE;
    return 100.0 * m + 50.0 * std::sin(f / 4.0 + a);
}

void make_on_mark_0() {
    CurveScale scale;
    const CurveTarget target{0, 0, 5, 15};
    const CurveControls controls = curve_controls(curve_load_points(app, target, 1, scale));
    marks_curve_store(app, target, scale, static_cast<int>(controls.xs.size()), controls.xs.data(), controls.ys.data());
}

}  // namespace

TEST_F(UnsavedWork, EachCommandThatChangesSamplesMarksTheLayerAndReportsOnce) {
    struct Case {
        const char* command;
        std::function<void()> run;
        bool changes;
    } cases[] = {
        {"repair", [] { run_repair(app, 0, 39, all_channels(app)); }, true},
        {"repair of a whole mark", [] { run_repair(app, 0, 39, {0}); }, false},
        {"smooth", [] { run_smooth(app, 0, 39, {0}, 5); }, true},
        {"smooth refused for lost coordinates", [] { run_smooth(app, 0, 39, {1}, 5); }, false},
        {"fill", [] { run_fill(app, 0, 39, {1}, FillMethod::automatic, 0); }, true},
        {"interchange", [] { interchange_channels(app, 0, 10, 0, 1); }, true},
        {"scale", [] { scale_data(app, 0.5f); }, true},
        {"scale by 1 + 0", [] { scale_data(app, 0.0f); }, false},
        {"make", make_on_mark_0, true},
    };
    for (const Case& c : cases) {
        load_capture(2, 40, curved_with_gap);
        reported = 0;
        c.run();
        EXPECT_EQ(app.samples_changed, c.changes) << c.command;
        EXPECT_EQ(reported, c.changes ? 1 : 0) << c.command;
        EXPECT_FALSE(app.skeleton_changed) << c.command;
    }
}

// A capture held beside the working copy is repaired alone: its own samples, origins and flag
// change, the working copy stays as it was and the interface, which shows the working copy, is
// not told.
TEST_F(UnsavedWork, ACaptureBesideTheWorkingCopyChangesAloneAndTheInterfaceIsNotTold) {
    load_capture(2, 40, curved_with_gap);
    const std::string path = dir.path("beside.idf");
    write_file(path, make_idf_text(100, 2, 40, curved_with_gap));
    CaptureData beside;
    ReadError error;
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(capture_read_stream(file, path, beside, error), 0);
    std::fclose(file);
    const int lost = count_lost_values(app);
    ASSERT_GT(lost, 0);

    run_repair(beside, 0, 39, all_channels(beside));
    EXPECT_EQ(count_lost_values(beside), 0);
    EXPECT_EQ(beside.error_count, 0);
    EXPECT_TRUE(beside.samples_changed);
    EXPECT_EQ(beside.channels[1].origin(21), SampleOrigin::repair);
    EXPECT_EQ(count_lost_values(app), lost);
    EXPECT_FALSE(app.samples_changed);
    EXPECT_EQ(app.channels[1].origin(21), SampleOrigin::measured);
    EXPECT_EQ(reported, 0);
}

TEST_F(UnsavedWork, ADiagnosisRepairRunReportsOnceHoweverManyStretchesItRepairs) {
    // Two stretches on each of two marks, delimited by spikes.
    load_capture(2, 200, [](int, int f, int a) { return a == 0 && (f == 40 || f == 50 || f == 120 || f == 131) ? 100.0 : 0.0; });
    const std::string path = dir.path("rules.fim");
    write_file(path, fim_document(firing_system("Erroneous Trajectories", "Pt", 9.999, 10)));
    for (bool repair : {false, true}) {
        RunRecord record;
        record.repair = repair;
        ASSERT_EQ(expert_system_run(path, record.report()), RUN_DONE);
        EXPECT_EQ(record.finding_lines().size(), 4u);
        EXPECT_EQ(app.samples_changed, repair);
        EXPECT_EQ(reported, repair ? 1 : 0);
    }
}

TEST_F(UnsavedWork, SkeletonEditsMarkItAndLoadingOrSavingClearsIt) {
    load_capture(3, 5, [](int m, int f, int a) { return m + f + a; });
    const std::string path = dir.path("walk.bon");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"a mark given the style it has", [] { skeleton_change_mark(app, 0, DEFAULT_MARK_COLOUR, 1); }},
        {"a bone inserted", [] { skeleton_insert_bone(app, 0, 1, 2); }},
        {"saved", [&] { ASSERT_EQ(skeleton_save(path), 0); }},
        {"a mark hidden", [] { skeleton_change_mark(app, 1, 4, 0); }},
        {"loaded", [&] { ASSERT_EQ(skeleton_load(path), 0); }},
        {"a bone refused", [] { skeleton_insert_bone(app, 1, 0, 2); }},
        {"a bone changed", [] { skeleton_change_bone(app, 0, 0, 2, 3); }},
        {"saved again", [&] { ASSERT_EQ(skeleton_save(path), 0); }},
        {"a bone deleted", [] { skeleton_delete_bone(0); }},
    };
    const bool expected[] = {false, true, false, true, false, false, true, false, true};
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].second();
        EXPECT_EQ(app.skeleton_changed, expected[i]) << "after " << steps[i].first;
    }
    EXPECT_FALSE(app.samples_changed);
    EXPECT_EQ(reported, 0);
}
