// zemo-cli diagnose: the findings on standard output, the progress on standard error, the
// repaired capture written with --repair, and the exit codes.
#include <gtest/gtest.h>

#include "support/fuzzy_test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");
const std::string rules = build_path("rules/diagnosis.fim");
const std::string separator = " ------------------------------------------------------------------\n";

std::string header(const std::string& name) { return separator + "  Expert System: " + name + "\n" + separator; }

struct ZemoCliDiagnose : ::testing::Test {
    TempDir dir;
    // Three marks, 40 frames; mark B is lost at frames 10 .. 12 and its highest coordinates
    // are on frame 0, before the first frame the run looks at.
    std::string gappy() {
        const std::string path = dir.path("gappy.idf");
        write_file(path, make_idf_text(60, 3, 40, [](int m, int f, int a) {
                       if (m == 1 && f >= 10 && f <= 12) return LOST_VALUE;
                       if (f == 0) return 2000.0;
                       return 100.0 * m + 20.0 * a + 0.5 * f;
                   }, {"A", "B", "C"}));
        return path;
    }
};

}  // namespace

TEST_F(ZemoCliDiagnose, FindingsOnStandardOutputAndProgressOnStandardError) {
    std::string out, err;
    ASSERT_EQ(run_command(cli + " diagnose '" + gappy() + "' --rules '" + rules + "'", &out, &err), 0) << err;
    std::string lost_lines;
    for (int f = 10; f <= 12; ++f) lost_lines += " Losed Mark [B](x)\n Losed Mark [B](y)\n Losed Mark [B](z)\n";
    EXPECT_EQ(out, header("Losed Marks") + lost_lines + header("Erroneous Trajectories") + header("Smooth Trajectories"));
    EXPECT_EQ(err, header("Losed Marks") + " Progress: ... [OK]\n" + header("Erroneous Trajectories") + " Progress: ... [OK]\n" +
                       header("Smooth Trajectories") + " Progress: ... [OK]\n");
}

TEST_F(ZemoCliDiagnose, RepairWritesTheRepairedCapture) {
    const std::string repaired = dir.path("repaired.idf");
    std::string out, err;
    ASSERT_EQ(run_command(cli + " diagnose '" + gappy() + "' --rules '" + rules + "' --repair '" + repaired + "'", &out, &err), 0)
        << err;
    EXPECT_NE(out.find(" Losed Mark [B](x)\n"), std::string::npos);
    ASSERT_EQ(run_command(cli + " info '" + repaired + "'", &out, &err), 0) << err;
    EXPECT_NE(out.find("\nlost: 0\n"), std::string::npos) << out;
}

TEST_F(ZemoCliDiagnose, WhatTheRulesFileLeavesOutIsWarnedOnStandardError) {
    const std::string mistyped = dir.path("mistyped.fim");
    write_file(mistyped, fim_document(fim_system("Losed Marks", fim_variable("input", "Pt", {"Top 9 10 10 11"}) +
                                                                    fim_variable("output", "Lost", {"Yes 2 3 5 6"}) +
                                                                    fim_rule({"Pt:top"}, {"Lost:Yes"}))));
    std::string out, err;
    ASSERT_EQ(run_command(cli + " diagnose '" + gappy() + "' --rules '" + mistyped + "'", &out, &err), 0) << err;
    EXPECT_EQ(err, header("Losed Marks") +
                       " Warning: rule 1: an antecedent is left out, as the input variable \"Pt\" has no set \"top\".\n"
                       " Progress: ... [OK]\n");
}

TEST_F(ZemoCliDiagnose, RefusesBadFilesAndWrongUsage) {
    const std::string capture = gappy();
    const std::string bad_rules = dir.path("bad.fim");
    write_file(bad_rules, "<?xml version=\"1.0\"?>\n<rules/>\n");
    std::string out, err;
    EXPECT_EQ(run_command(cli + " diagnose '" + capture + "' --rules '" + bad_rules + "'", &out, &err), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "Incorrect document type; root node isn't FIM\n");
    EXPECT_EQ(run_command(cli + " diagnose '" + capture + "' --rules '" + dir.path("none.fim") + "' --repair '" +
                              dir.path("out.idf") + "'",
                          &out, &err),
              1);
    EXPECT_EQ(err, "The FIM doesn't have a valid format\n");
    EXPECT_EQ(read_file(dir.path("out.idf")), "") << "nothing is written after a refused run";
    EXPECT_EQ(run_command(cli + " diagnose '" + dir.path("none.idf") + "' --rules '" + rules + "'", &out, &err), 1);
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;

    for (const std::string& words : {" diagnose '" + capture + "'", " diagnose --rules '" + rules + "'",
                                     " diagnose '" + capture + "' '" + capture + "' --rules '" + rules + "'",
                                     " diagnose '" + capture + "' --rules"}) {
        EXPECT_EQ(run_command(cli + words, &out, &err), 2) << words;
        EXPECT_NE(err.find("usage: zemo-cli diagnose IN --rules FILE.fim [--repair OUT]"), std::string::npos) << err;
    }
}
