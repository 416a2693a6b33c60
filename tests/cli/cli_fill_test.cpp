// zemo-cli fill as scripts use it: the filled capture, the report and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

// The report with its fifth column, the estimated error, checked for a number (or "nan": not
// judged) and taken off each line.
std::string without_estimates(const std::string& report) {
    std::string rest;
    size_t start = 0;
    while (start < report.size()) {
        const size_t end = report.find('\n', start);
        const std::string line = report.substr(start, end - start);
        const size_t tab = line.rfind('\t');
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 4) << line;
        const std::string estimate = line.substr(tab + 1);
        char* stop = nullptr;
        std::strtod(estimate.c_str(), &stop);
        EXPECT_TRUE(!estimate.empty() && *stop == '\0') << line;
        rest += line.substr(0, tab) + "\n";
        start = end == std::string::npos ? report.size() : end + 1;
    }
    return rest;
}

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
    EXPECT_EQ(without_estimates(read_file(dir.path("gaps.tsv"))), "HEEL\t10\t12\tspline\n");
    EXPECT_NE(out.find("Number of filled gaps: 1 (0 from other marks)."), std::string::npos) << out;
    ASSERT_EQ(run_command(cli + " info '" + dir.path("out.idf") + "'", &out, &err), 0) << err;
    EXPECT_NE(out.find("mark 0 HEEL lost 90\n"), std::string::npos) << out;  // the 30 frames stay lost
    EXPECT_NE(out.find("mark 1 TOE lost 6\n"), std::string::npos) << out;    // the edge gap too

    ASSERT_EQ(run_command(cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("all.idf") +
                              "' --method spline --marks HEEL --from 5 --to 70 --report '" + dir.path("gaps.tsv") + "'",
                          &out, &err),
              0)
        << err;
    EXPECT_EQ(without_estimates(read_file(dir.path("gaps.tsv"))), "HEEL\t10\t12\tspline\nHEEL\t30\t59\tspline\n");
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
    EXPECT_EQ(without_estimates(read_file(dir.path("gaps.tsv"))), "HEEL\t5\t14\tspline\n");
    ASSERT_EQ(run_command(fill + " --max-gap 0", nullptr, &err), 0) << err;
    EXPECT_EQ(without_estimates(read_file(dir.path("gaps.tsv"))), "HEEL\t5\t14\tspline\nHEEL\t30\t40\tspline\n");
}

TEST(ZemoCliFill, RefusesBadOptionsAndAReportItCannotWrite) {
    TempDir dir;
    write_file(dir.path("in.idf"), make_idf_text(100, 3, 20, [](int, int f, int) { return f == 5 ? LOST_VALUE : 1.0 * f; }));
    const std::string fill = cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("out.idf") + "'";
    std::string err;
    EXPECT_EQ(run_command(fill + " --method cubic", nullptr, &err), 2);
    EXPECT_NE(err.find("--method must be auto, spline, rigid or linear"), std::string::npos) << err;
    EXPECT_EQ(run_command(fill + " --max-gap -3", nullptr, &err), 2);
    EXPECT_EQ(run_command(fill + " --marks NOSE", nullptr, &err), 1);
    EXPECT_EQ(run_command(fill + " --report '" + dir.path("missing/gaps.tsv") + "'", nullptr, &err), 1);
    EXPECT_NE(err.find("Error saving file:\n " + dir.path("missing/gaps.tsv")), std::string::npos) << err;
}

TEST(ZemoCliFill, FromTheDonorsNamedOrWithAStraightLine) {
    TempDir dir;
    // Four marks of one body moving together and a fifth of its own; HEEL loses 20..29 and 50..59,
    // the donor KNEE is lost over 55.
    write_file(dir.path("in.idf"), make_idf_text(100, 5, 80, [](int m, int f, int axis) {
                   if ((m == 0 && ((f >= 20 && f <= 29) || (f >= 50 && f <= 59))) || (m == 3 && f == 55)) return LOST_VALUE;
                   const double offset[5][3] = {{0, 0, 0}, {100, 0, 0}, {0, 80, 0}, {0, 0, 60}, {0, 0, 0}};
                   if (m == 4) return 300 + 40.0 * std::sin(0.3 * f + axis);
                   const double a = 0.03 * f, x = offset[m][0], y = offset[m][1];
                   return axis == 0 ? std::cos(a) * x - std::sin(a) * y + 2.0 * f
                          : axis == 1 ? std::sin(a) * x + std::cos(a) * y
                                      : offset[m][2] + 500;
               }, {"HEEL", "TOE", "ANKLE", "KNEE", "HAND"}));
    const std::string fill = cli + " fill '" + dir.path("in.idf") + "' '" + dir.path("out.idf") + "' --report '" +
                             dir.path("gaps.tsv") + "'";
    std::string out, err;
    ASSERT_EQ(run_command(fill + " --donors TOE,ANKLE,KNEE", &out, &err), 0) << err;
    EXPECT_EQ(without_estimates(read_file(dir.path("gaps.tsv"))), "HEEL\t20\t29\trigid:TOE,ANKLE,KNEE\n");
    EXPECT_NE(err.find("HEEL frames 50-59 left lost: donor KNEE is not seen across the gap"), std::string::npos) << err;
    ASSERT_EQ(run_command(fill + " --method linear --marks HEEL", &out, &err), 0) << err;
    EXPECT_EQ(without_estimates(read_file(dir.path("gaps.tsv"))), "HEEL\t20\t29\tlinear\nHEEL\t50\t59\tlinear\n");

    const struct {
        const char* options;
        int code;
        const char* error;
    } refused[] = {
        {" --donors TOE,ANKLE", 1, "--donors needs three different marks"},
        {" --donors TOE,TOE,KNEE", 1, "--donors needs three different marks"},
        {" --donors TOE,ANKLE,KNEE --marks HEEL,KNEE", 1, "the donor KNEE is one of the marks to fill"},
        {" --donors TOE,ANKLE,NOSE", 1, "no mark \"NOSE\""},
        {" --donors TOE,ANKLE,KNEE --method spline", 2, "--donors fills from those marks"},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(run_command(fill + c.options, nullptr, &err), c.code) << c.options;
        EXPECT_NE(err.find(c.error), std::string::npos) << c.options << ": " << err;
    }
}
