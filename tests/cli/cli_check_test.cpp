// zemo-cli check as scripts use it: the printed list, the report's columns and the refusals.
#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

TEST(ZemoCliCheck, ListsAndReportsJumpsAndSwaps) {
    const std::string cli = build_path("zemo-cli");
    TempDir dir;
    // Four marks 100 apart on smooth paths; TOE is 80 off its path on frames 30..31, and ANKLE and
    // KNEE exchange positions on frames 50..59.
    write_file(dir.path("in.idf"), make_idf_text(100, 4, 100, [](int m, int f, int axis) {
                   int mark = m;
                   if (f >= 50 && f <= 59 && m >= 2) mark = 5 - m;
                   double value = 100.0 * mark * (axis == 0) + 200 * std::sin(0.04 * f + mark + axis);
                   if (m == 1 && (f == 30 || f == 31) && axis == 2) value += 80;
                   return value;
               }, {"HEEL", "TOE", "ANKLE", "KNEE"}));
    std::string out, err;
    ASSERT_EQ(run_command(cli + " check '" + dir.path("in.idf") + "' --report '" + dir.path("check.tsv") + "'", &out, &err), 0)
        << err;
    EXPECT_EQ(read_file(dir.path("check.tsv")), "TOE\t30\t31\tjump\nANKLE\t50\t59\tswap\nKNEE\t50\t59\tswap\n");
    EXPECT_EQ(out.substr(0, out.find("3 suspect stretches")), "TOE 30 31 jump\nANKLE 50 59 swap\nKNEE 50 59 swap\n") << out;

    EXPECT_EQ(run_command(cli + " check '" + dir.path("in.idf") + "' --threshold 1e12", &out, &err), 0) << err;
    EXPECT_EQ(out.find("0 suspect stretches"), 0u) << out;
    EXPECT_EQ(run_command(cli + " check '" + dir.path("in.idf") + "' --threshold nan", &out, &err), 2);
    EXPECT_EQ(run_command(cli + " check '" + dir.path("missing.idf") + "'", &out, &err), 1);
}
