// The spline fill against a natural cubic spline solved independently (second derivatives,
// dense elimination), and the end rule.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/model/limits.h"
#include "engine/processing/spline.h"
#include "support/test_support.h"

namespace {

// Natural cubic spline with unit knot spacing through x, evaluated at parameter t, from the
// second-derivative equations solved by dense Gaussian elimination.
double reference_spline(const std::vector<double>& x, double t) {
    const int n = static_cast<int>(x.size()) - 1;
    std::vector<std::vector<double>> a(n + 1, std::vector<double>(n + 2, 0.0));
    a[0][0] = 1;
    a[n][n] = 1;
    for (int i = 1; i < n; ++i) {
        a[i][i - 1] = 1;
        a[i][i] = 4;
        a[i][i + 1] = 1;
        a[i][n + 1] = 6 * (x[i + 1] - 2 * x[i] + x[i - 1]);
    }
    for (int col = 0; col <= n; ++col) {
        int pivot = col;
        for (int r = col + 1; r <= n; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        }
        std::swap(a[col], a[pivot]);
        for (int r = 0; r <= n; ++r) {
            if (r == col || a[r][col] == 0) continue;
            const double f = a[r][col] / a[col][col];
            for (int c = col; c <= n + 1; ++c) a[r][c] -= f * a[col][c];
        }
    }
    std::vector<double> m(n + 1);
    for (int i = 0; i <= n; ++i) m[i] = a[i][n + 1] / a[i][i];
    const int k = std::min(static_cast<int>(t), n - 1);
    const double u = t - k;
    return (1 - u) * x[k] + u * x[k + 1] + ((1 - u) * (1 - u) * (1 - u) - (1 - u)) * m[k] / 6 +
           (u * u * u - u) * m[k + 1] / 6;
}

}  // namespace

TEST(SplineFill, MatchesAnIndependentlySolvedNaturalSpline) {
    // Valid frames 0, 1, 2, 6, 7, 9; runs of lost frames between them.
    double values[10] = {3, 5, 4, LOST_VALUE, LOST_VALUE, LOST_VALUE, -2, 1, LOST_VALUE, 8};
    spline_fill(10, values);
    const std::vector<double> knots{3, 5, 4, -2, 1, 8};
    EXPECT_NEAR(values[3], reference_spline(knots, 2 + 0.25), 1e-9);
    EXPECT_NEAR(values[4], reference_spline(knots, 2 + 0.5), 1e-9);
    EXPECT_NEAR(values[5], reference_spline(knots, 2 + 0.75), 1e-9);
    EXPECT_NEAR(values[8], reference_spline(knots, 4 + 0.5), 1e-9);
    EXPECT_EQ(values[6], -2);  // valid entries keep their values
    EXPECT_EQ(values[9], 8);
}

TEST(SplineFill, KnotSpacingIsIgnored) {
    // Valid frames 10, 11 and 30 of a chunk: the 18 lost frames share one unit of the parameter.
    double values[31];
    for (double& v : values) v = LOST_VALUE;
    values[0] = 0;  // keeps the chunk's ends valid
    values[10] = 1;
    values[11] = 4;
    values[30] = 2;
    spline_fill(31, values);
    const std::vector<double> knots{0, 1, 4, 2};
    for (int j = 0; j < 18; ++j) EXPECT_NEAR(values[12 + j], reference_spline(knots, 2 + (j + 1) / 19.0), 1e-9);
}

TEST(SplineFill, TwoKnotsGiveAStraightLine) {
    double values[5] = {10, LOST_VALUE, LOST_VALUE, LOST_VALUE, 30};
    spline_fill(5, values);
    EXPECT_NEAR(values[1], 15, 1e-12);
    EXPECT_NEAR(values[2], 20, 1e-12);
    EXPECT_NEAR(values[3], 25, 1e-12);
}

TEST(SplineFill, EndsTakeTheNearestValidValue) {
    double values[6] = {LOST_VALUE, LOST_VALUE, 7, 9, LOST_VALUE, LOST_VALUE};
    EXPECT_FALSE(fill_chunk_ends(6, values));
    EXPECT_EQ(values[0], 7);
    EXPECT_EQ(values[5], 9);
    EXPECT_TRUE(is_lost(values[1]));
    double lost[3] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
    EXPECT_TRUE(fill_chunk_ends(3, lost));
    EXPECT_TRUE(is_lost(lost[0]));
}

TEST(SplineFill, AChunkWithoutValidEntriesIsLeftLostWithItsMessage) {
    Recorder recorder;
    double values[4] = {LOST_VALUE, LOST_VALUE, LOST_VALUE, LOST_VALUE};
    spline_fill(4, values);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Too Much Errors.\n It's impossible to interpolate.");
    EXPECT_EQ(recorder.messages[0].type, 3);
    EXPECT_EQ(values[2], LOST_VALUE);
    double single[3] = {LOST_VALUE, 5, LOST_VALUE};
    spline_fill(3, single);
    EXPECT_EQ(single[0], 5);
    EXPECT_EQ(single[2], 5);
}
