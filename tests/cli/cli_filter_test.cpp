// zemo-cli filter and cutoff as scripts use them: the filtered capture, the refusals and exit
// codes, and the suggested cutoffs printed per mark.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

std::string quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

TEST(ZemoCliFilter, FiltersTheMarksAskedAndRefusesBadSettings) {
    TempDir dir;
    // HEEL is lost over frames 20..24; the two marks carry a 2 Hz motion and a 25 Hz jitter.
    const auto value = [](int m, int f, int axis) {
        if (m == 0 && f >= 20 && f <= 24) return LOST_VALUE;
        return 100.0 * m + axis + 50 * std::sin(2 * M_PI * 2 * f / 100) + 5 * std::sin(2 * M_PI * 25 * f / 100);
    };
    write_file(dir.path("in.idf"), make_idf_text(100, 2, 120, value, {"HEEL", "TOE"}));
    std::string out, err;
    ASSERT_EQ(run_command(cli + " filter " + quoted(dir.path("in.idf")) + " " + quoted(dir.path("out.idf")) +
                              " --cutoff 6 --marks HEEL",
                          &out, &err),
              0)
        << err;
    EXPECT_NE(out.find("Filtered 1 channels at 6.0 Hz; 0 stretches too short were left as they are"), std::string::npos)
        << out;
    Recorder recorder;
    ASSERT_EQ(idf_read(dir.path("out.idf")), 0);
    EXPECT_TRUE(is_lost(app.channels[0].samples[22].x));
    // The jitter is gone from HEEL (a few tenths remain of its 5 mm), TOE is as it was.
    EXPECT_NEAR(app.channels[0].samples[60].x, 50 * std::sin(2 * M_PI * 2 * 60 / 100), 0.5);
    EXPECT_NEAR(app.channels[1].samples[60].x, value(1, 60, 0), 1e-4);

    const std::string to = " " + quoted(dir.path("in.idf")) + " " + quoted(dir.path("no.idf"));
    EXPECT_EQ(run_command(cli + " filter" + to + " --cutoff 45", &out, &err), 1);
    EXPECT_NE(err.find("The highest cutoff allowed is 40.11 Hz."), std::string::npos) << err;
    EXPECT_EQ(run_command(cli + " filter" + to + " --cutoff 6 --order 3", &out, &err), 2);
    EXPECT_EQ(run_command(cli + " filter" + to + " --cutoff inf", &out, &err), 2);
    EXPECT_EQ(run_command(cli + " filter" + to, &out, &err), 2);
    EXPECT_FALSE(std::ifstream(dir.path("no.idf")).good());
}

TEST(ZemoCliFilter, CutoffPrintsTheSuggestionOfEachMarkAndOverall) {
    std::string out, err;
    ASSERT_EQ(run_command(cli + " cutoff " + quoted(shared_data("evart.idf")) + " --marks RSHO,LTOE", &out, &err), 0)
        << err;
    // Walking at 60 Hz: cutoffs of a few hertz, as gait labs choose.
    double rsho = 0, ltoe = 0, overall = 0;
    ASSERT_EQ(std::sscanf(out.c_str(), "mark 0 RSHO cutoff %lf\nmark 21 LTOE cutoff %lf\noverall cutoff %lf\n", &rsho,
                          &ltoe, &overall),
              3)
        << out;
    for (double cutoff : {rsho, ltoe, overall}) {
        EXPECT_GE(cutoff, 3);
        EXPECT_LE(cutoff, 10);
    }
}
