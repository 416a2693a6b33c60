// zemo-cli fill as scripts use it: the filled capture, the report and the refusals.
#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

}  // namespace

TEST(ZemoCliFill, FillsWritesTheReportAndKeepsLongGapsLost) {
    TempDir dir;
    // Mark 0 loses frames 10..12 and 30..59; mark 1 loses its first two frames.
    write_file(dir.path("in.idf"), make_idf_text(100, 4, 80, [](int m, int f, int axis) {
                   if ((m == 0 && ((f >= 10 && f <= 12) || (f >= 30 && f <= 59))) || (m == 1 && f < 2)) return LOST_VALUE;
                   return 10.0 * m + axis + std::sin(0.1 * f) * (m + 1);
               }, {"HEEL", "TOE", "ANKLE", "KNEE"}));
    std::string out, err;
    ASSERT_EQ(run_command(cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("out.idf") + "' --max-gap 20 --report '" +
                              dir.path("gaps.tsv") + "'",
                          &out, &err),
              0)
        << err;
    EXPECT_EQ(read_file(dir.path("gaps.tsv")), "HEEL\t10\t12\tspline\n");
    EXPECT_NE(out.find("Number of filled gaps: 1 (0 from other marks)."), std::string::npos) << out;
    ASSERT_EQ(run_command(cli + " info '" + dir.path("out.idf") + "'", &out, &err), 0) << err;
    EXPECT_NE(out.find("mark 0 HEEL lost 90\n"), std::string::npos) << out;  // the 30 frames stay lost
    EXPECT_NE(out.find("mark 1 TOE lost 6\n"), std::string::npos) << out;    // the edge gap too

    ASSERT_EQ(run_command(cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("all.idf") +
                              "' --method spline --marks HEEL --from 5 --to 70 --report '" + dir.path("gaps.tsv") + "'",
                          &out, &err),
              0)
        << err;
    EXPECT_EQ(read_file(dir.path("gaps.tsv")), "HEEL\t10\t12\tspline\nHEEL\t30\t59\tspline\n");
}

TEST(ZemoCliFill, WithoutMaxGapGapsLongerThanHalfASecondStayLost) {
    TempDir dir;
    // At 20 Hz half a second is 10 frames: the gap at 5..14 is filled, the one at 30..40 is not.
    write_file(dir.path("in.idf"), make_idf_text(20, 1, 60, [](int, int f, int) {
                   return (f >= 5 && f <= 14) || (f >= 30 && f <= 40) ? LOST_VALUE : std::sin(0.1 * f);
               }, {"HEEL"}));
    const std::string fill = cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("out.idf") + "' --report '" +
                             dir.path("gaps.tsv") + "'";
    std::string err;
    ASSERT_EQ(run_command(fill, nullptr, &err), 0) << err;
    EXPECT_EQ(read_file(dir.path("gaps.tsv")), "HEEL\t5\t14\tspline\n");
    ASSERT_EQ(run_command(fill + " --max-gap 0", nullptr, &err), 0) << err;
    EXPECT_EQ(read_file(dir.path("gaps.tsv")), "HEEL\t5\t14\tspline\nHEEL\t30\t40\tspline\n");
}

TEST(ZemoCliFill, RefusesBadOptionsAndAReportItCannotWrite) {
    TempDir dir;
    write_file(dir.path("in.idf"), make_idf_text(100, 3, 20, [](int, int f, int) { return f == 5 ? LOST_VALUE : 1.0 * f; }));
    const std::string fill = cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("out.idf") + "'";
    std::string err;
    EXPECT_EQ(run_command(fill + " --method cubic", nullptr, &err), 2);
    EXPECT_NE(err.find("--method must be spline, rigid or auto"), std::string::npos) << err;
    EXPECT_EQ(run_command(fill + " --max-gap -3", nullptr, &err), 2);
    EXPECT_EQ(run_command(fill + " --marks NOSE", nullptr, &err), 1);
    EXPECT_EQ(run_command(fill + " --report '" + dir.path("missing/gaps.tsv") + "'", nullptr, &err), 1);
    EXPECT_NE(err.find("Error saving file:\n " + dir.path("missing/gaps.tsv")), std::string::npos) << err;
}
