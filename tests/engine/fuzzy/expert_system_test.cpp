// The diagnosis run on small captures with systems that fire where a test wants them to: the
// texts of both views, what each diagnosis does with a finding in both modes, the thresholds,
// and a capture that goes away while the run lets the interface work.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/fuzzy/expert_system.h"
#include "engine/fuzzy/fuzzy_system.h"
#include "engine/scene/view_state.h"
#include "support/fuzzy_test_support.h"

namespace {

const std::string SEPARATOR = " ------------------------------------------------------------------\n";

struct ExpertSystemRun : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    RunRecord record;

    void TearDown() override { view = ViewState{}; }

    RunResult run(const std::string& systems, BoundsMethod method = BoundsMethod::sliding) {
        const std::string path = dir.path("rules.fim");
        write_file(path, fim_document(systems));
        return expert_system_run(path, record.report(), method);
    }
    // Every axis of a mark is 0 except where spike(mark, frame, axis) says 100: with window
    // bounds, "Pt" is 10 exactly at those coordinates and 0 elsewhere.
    void load_spikes(int marks, int frames, const std::function<bool(int, int, int)>& spike) {
        load_capture(marks, frames, [&](int m, int f, int a) { return spike(m, f, a) ? 100.0 : 0.0; });
    }
};

std::string header(const std::string& name) { return SEPARATOR + "  Expert System: " + name + "\n" + SEPARATOR; }

}  // namespace

TEST_F(ExpertSystemRun, WritesHeadersAndOneDotPerMarkForEachSystem) {
    load_capture(30, 12, [](int m, int f, int a) { return m + f + a; });
    ASSERT_EQ(run(firing_system("First", "Pt", 50, 60) + "<note/>" + firing_system("Losed marks", "Vt", 50, 60)), RUN_DONE);
    const std::string dots(30, '.');
    EXPECT_EQ(record.rules, header("First") + " Progress: " + dots + " [OK]\n" + header("Losed marks") + " Progress: " +
                                dots + " [OK]\n");
    EXPECT_EQ(record.actions, header("First") + header("Losed marks"));
    EXPECT_EQ(record.process_calls, 2);
    EXPECT_TRUE(fuzzy_system.rules.empty()) << "each system is discarded after its run";
}

TEST_F(ExpertSystemRun, DocumentErrorWritesNothing) {
    load_capture(2, 10, [](int, int f, int) { return f; });
    const std::string path = dir.path("bad.fim");
    write_file(path, "<FIM><system></FIM>");
    EXPECT_EQ(expert_system_run(path, record.report()), RUN_NOT_STARTED);
    EXPECT_EQ(record.rules, "");
    EXPECT_EQ(record.actions, "");
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "The FIM doesn't have a valid format");
}

TEST_F(ExpertSystemRun, CaptureOfFourFramesHasNoFindings) {
    load_spikes(3, 4, [](int, int, int) { return true; });
    compute_view_bounds();
    ASSERT_EQ(run(firing_system("Losed Marks", "Pt", -1, 0)), RUN_DONE);
    EXPECT_EQ(record.rules, header("Losed Marks") + " Progress: ... [OK]\n");
    EXPECT_TRUE(record.finding_lines().empty());
}

TEST_F(ExpertSystemRun, LostMarksReportEveryFrameAndAxisInInformationMode) {
    load_capture(2, 30, [](int m, int f, int a) {
        if (m == 1 && (f == 2 || f == 20 || (f == 21 && a == 1))) return LOST_VALUE;
        return f == 0 ? 100.0 : 10.0 * m + std::sin(f + a);  // the view's maximum before frame 4
    }, {"LASI", "RASI"});
    compute_view_bounds();
    ASSERT_EQ(run(firing_system("Losed Marks", "Pt", 9.999, 10)), RUN_DONE);
    const std::vector<std::string> expected = {" Losed Mark [RASI](x)", " Losed Mark [RASI](y)", " Losed Mark [RASI](z)",
                                               " Losed Mark [RASI](y)"};
    EXPECT_EQ(record.finding_lines(), expected) << "frame 2 comes before the first frame the run looks at";
    EXPECT_TRUE(is_lost(app.channels[1].samples[20].x)) << "information mode changes nothing";
}

TEST_F(ExpertSystemRun, LostMarksRepairTheMarkAndGoOnWithTheRepairedData) {
    load_capture(2, 30, [](int m, int f, int a) {
        if (m == 1 && (f == 20 || f == 21 || f == 25)) return LOST_VALUE;
        return f == 0 ? 100.0 : 10.0 * m + f + a;
    }, {"LASI", "RASI"});
    compute_view_bounds();
    record.repair = true;
    ASSERT_EQ(run(firing_system("Losed Marks", "Pt", 9.999, 10)), RUN_DONE);
    const std::vector<std::string> expected = {" Losed Mark [RASI](x)"};
    EXPECT_EQ(record.finding_lines(), expected);
    for (int f : {20, 21, 25}) EXPECT_NEAR(app.channels[1].samples[f].y, 10.0 + f + 1, 0.5) << f;
}

TEST_F(ExpertSystemRun, StretchOpensAtOneFrameAndClosesAtALaterOne) {
    load_spikes(2, 200, [](int m, int f, int a) {
        if (m == 0) return (f == 120 && a > 0) || (f == 131 && a == 0) || (f == 150 && a == 0);
        return f == 60 && a == 0;  // opened, never closed: dropped at the end of the mark
    });
    ASSERT_EQ(run(firing_system("Erroneous Trajectories", "Pt", 9.999, 10)), RUN_DONE);
    const std::vector<std::string> expected = {" Trajec. Error [M0] in (120 - 131)"};
    EXPECT_EQ(record.finding_lines(), expected);
    EXPECT_EQ(app.channels[0].samples[125].y, 0.0);
    EXPECT_EQ(app.channels[0].samples[120].y, 100.0) << "information mode changes nothing";
}

TEST_F(ExpertSystemRun, RepairedStretchIsMarkedLostThenFilled) {
    load_spikes(2, 200, [](int m, int f, int a) { return m == 0 && ((f == 120 && a > 0) || (f == 131 && a == 0)); });
    record.repair = true;
    ASSERT_EQ(run(firing_system("Erroneous Trajectories", "Pt", 9.999, 10)), RUN_DONE);
    const std::vector<std::string> expected = {" Trajec. Error [M0] in (120 - 131)"};
    EXPECT_EQ(record.finding_lines(), expected);
    const Sample* s = app.channels[0].samples.get();
    for (int f = 120; f <= 130; ++f) {
        EXPECT_NEAR(s[f].y, 0.0, 1e-9) << "frame " << f << " was filled from its neighbours";
        EXPECT_FALSE(is_lost(s[f].x)) << f;
    }
    EXPECT_EQ(s[131].x, 100.0) << "the closing frame is kept";
    EXPECT_NE(s[125].x, 0.0) << "x of the stretch follows the spline up to frame 131";
}

TEST_F(ExpertSystemRun, SmoothingIsReportedOncePerMarkInRepairMode) {
    // A zigzag on every frame: each frame fires on x.
    load_capture(3, 40, [](int m, int f, int a) {
        if (m == 2 && f == 30) return LOST_VALUE;
        return a == 0 ? (f % 2) * 50.0 + m : f * 1.0;
    }, {"A", "B", "C"});
    ASSERT_EQ(run(firing_system("Smooth Trajectories", "Pt", 9.999, 10)), RUN_DONE);
    const size_t info_lines = record.finding_lines().size();
    EXPECT_GT(info_lines, 3u) << "information mode reports a mark at every finding";

    record = RunRecord{};
    record.repair = true;
    ASSERT_EQ(run(firing_system("Smooth Trajectories", "Pt", 9.999, 10)), RUN_DONE);
    const std::vector<std::string> expected = {" [A] Need Smooth", " [B] Need Smooth", " [C] Need Smooth"};
    EXPECT_EQ(record.finding_lines(), expected);
    EXPECT_EQ(record.rules, header("Smooth Trajectories") + " Progress: ... [OK]\n");
    EXPECT_NE(app.channels[0].samples[10].x, 0.0) << "mark A was smoothed";
    ASSERT_EQ(recorder.messages.size(), 1u) << "mark C holds a lost coordinate and is refused";
    EXPECT_EQ(recorder.messages[0].text.rfind("The selected interval can't have", 0), 0u);
}

TEST_F(ExpertSystemRun, ModeIsReadAtEachFinding) {
    load_capture(1, 40, [](int, int f, int a) { return a == 0 ? (f % 2) * 50.0 : f * 1.0; }, {"A"});
    const std::string path = dir.path("rules.fim");
    write_file(path, fim_document(firing_system("Smooth Trajectories", "Pt", 9.999, 10)));
    DiagnosisReport report = record.report();
    int asked = 0;
    report.repair_mode = [&] { return ++asked == 3; };  // the user switches to repair at the third
    ASSERT_EQ(expert_system_run(path, report), RUN_DONE);
    EXPECT_EQ(record.finding_lines().size(), 3u);
    EXPECT_EQ(asked, 3);
}

TEST_F(ExpertSystemRun, ThresholdsAreStrictAndNamesExact) {
    load_spikes(1, 30, [](int, int f, int a) { return f == 10 && a == 0; });
    compute_view_bounds();
    struct Case {
        const char* name;
        double threshold;
        int findings_above;  // one coordinate fires; a stretch needs two frames, so it only opens
    } cases[] = {{"Losed Marks", 2.0, 1}, {"Erroneous Trajectories", 7.0, 0}, {"Smooth Trajectories", 5.0, 1},
                 {"losed Marks", 2.0, 0}, {"Losed Marks ", 2.0, 0}, {"Smooth", 5.0, 0}};
    for (const Case& c : cases) {
        for (double centre : {c.threshold, c.threshold + 0.01}) {
            const std::string out = "Set " + std::to_string(centre - 1) + " " + std::to_string(centre) + " " +
                                    std::to_string(centre) + " " + std::to_string(centre + 1);
            const std::string system = fim_system(c.name, fim_variable("input", "Pt", {"High 9.999 10 1e9 1e9"}) +
                                                              fim_variable("output", "Out", {out}) +
                                                              fim_variable("output", "Second", {"Big 90 100 100 110"}) +
                                                              fim_rule({"Pt:High"}, {"Out:Set", "Second:Big"}));
            record = RunRecord{};
            ASSERT_EQ(run(system), RUN_DONE);
            const int expected = centre == c.threshold ? 0 : c.findings_above;
            EXPECT_EQ(static_cast<int>(record.finding_lines().size()), expected) << c.name << " at " << centre;
        }
    }
}

TEST_F(ExpertSystemRun, SystemWithoutOutputsOrRulesFindsNothing) {
    load_spikes(2, 30, [](int, int, int) { return true; });
    compute_view_bounds();
    ASSERT_EQ(run(fim_system("Losed Marks", fim_variable("input", "Pt", {"All -1e9 0 1e9 1e9"})) +
                  fim_system("Smooth Trajectories", "")),
              RUN_DONE);
    EXPECT_TRUE(record.finding_lines().empty());
    EXPECT_EQ(record.rules, header("Losed Marks") + " Progress: .. [OK]\n" + header("Smooth Trajectories") +
                                " Progress: .. [OK]\n");
}

TEST_F(ExpertSystemRun, StopsWhenTheCaptureIsClosedDuringTheRun) {
    load_spikes(3, 60, [](int, int f, int a) { return f == 20 && a == 0; });
    const std::string path = dir.path("rules.fim");
    write_file(path, fim_document(firing_system("Smooth Trajectories", "Pt", 9.999, 10)));
    DiagnosisReport report = record.report();
    // The user closes the file from the interface while the first finding is shown.
    report.actions_append = [&](const std::string& text) {
        record.actions += text;
        if (text.find("Need Smooth") != std::string::npos) app_reset();
    };
    record.repair = true;
    EXPECT_EQ(expert_system_run(path, report), RUN_STOPPED);
    // Both views say why the run ended, after what it had found.
    const std::string why = " The run stopped: the layer it worked on was closed or another layer became current.\n";
    ASSERT_EQ(record.finding_lines().size(), 2u);
    EXPECT_EQ(record.finding_lines()[1] + "\n", why);
    EXPECT_EQ(record.rules.substr(record.rules.size() - why.size() - 11), " [Stopped]\n" + why);
    EXPECT_EQ(record.rules.find(" [OK]"), std::string::npos);
    EXPECT_TRUE(fuzzy_system.input_variables.empty());
}

TEST_F(ExpertSystemRun, SlidingBoundsGiveTheFindingsOfTheDirectComputation) {
    // Jumps, gaps and noise, in repair mode, so that repairs change the data under the run.
    unsigned seed = 12345;
    const auto noise = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16 & 0x7fff) / 32768.0;
    };
    load_capture(4, 400, [&](int m, int f, int a) {
        if (m == 1 && f > 100 && f < 108) return LOST_VALUE;
        if (m == 2 && f % 97 == 0) return LOST_VALUE;
        double v = 300 * std::sin(0.02 * f + m + a) + 20 * noise();
        if (m == 0 && f >= 200 && f < 210) v += 200;
        return v;
    });
    compute_view_bounds();
    const std::string systems =
        fim_system("Erroneous Trajectories", fim_variable("input", "Vt", {"Jump 0.5 1 1e9 1e9", "Back -1e9 -1e9 -1 -0.5"}) +
                                                 fim_variable("output", "E", {"Yes 9 10 10 11"}) + fim_rule({"Vt:Jump"}, {"E:Yes"}) +
                                                 fim_rule({"Vt:Back"}, {"E:Yes"})) +
        firing_system("Losed Marks", "Pt", 9.999, 10) + firing_system("Smooth Trajectories", "At", 0.3, 0.4);
    std::vector<Sample> original[4];
    for (int m = 0; m < 4; ++m) original[m].assign(app.channels[m].samples.get(), app.channels[m].samples.get() + 400);
    record.repair = true;
    ASSERT_EQ(run(systems, BoundsMethod::sliding), RUN_DONE);
    const RunRecord sliding = record;
    std::vector<Sample> repaired[4];
    for (int m = 0; m < 4; ++m) {
        repaired[m].assign(app.channels[m].samples.get(), app.channels[m].samples.get() + 400);
        std::copy(original[m].begin(), original[m].end(), app.channels[m].samples.get());
    }
    record = RunRecord{};
    record.repair = true;
    ASSERT_EQ(run(systems, BoundsMethod::every_inference), RUN_DONE);
    EXPECT_GT(sliding.finding_lines().size(), 3u);
    EXPECT_EQ(record.actions, sliding.actions);
    for (int m = 0; m < 4; ++m) {
        for (int f = 0; f < 400; ++f) {
            ASSERT_EQ(app.channels[m].samples[f].x, repaired[m][f].x) << m << " " << f;
            ASSERT_EQ(app.channels[m].samples[f].z, repaired[m][f].z) << m << " " << f;
        }
    }
}
