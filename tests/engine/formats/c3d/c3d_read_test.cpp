// The C3D reader on files built byte by byte: the three processor types in both storages, the
// rules for lost points, model outputs, labels, header fallbacks, and every kind of bad file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_source.h"
#include "support/c3d_test_builder.h"
#include "support/test_support.h"

namespace {

struct Encoding {
    C3dProcessor processor;
    bool floats;
};

const Encoding encodings[] = {
    {C3dProcessor::intel, false}, {C3dProcessor::intel, true}, {C3dProcessor::dec, false},
    {C3dProcessor::dec, true},    {C3dProcessor::mips, false}, {C3dProcessor::mips, true},
};

int parse(const std::string& bytes, CaptureData& out, ReadError& error) {
    return c3d_parse(bytes, "lab.c3d", out, error);
}

std::string problem_of(const std::string& bytes) {
    CaptureData out;
    ReadError error;
    EXPECT_EQ(parse(bytes, out, error), 1);
    EXPECT_EQ(out.num_columns, 0) << "a refused file changed the layer data";
    EXPECT_EQ(error.text.rfind("Error opening file:\n lab.c3d\n ", 0), 0u) << error.text;
    return error.text;
}

bool lost(const Sample& s) { return is_lost(s.x) && is_lost(s.y) && is_lost(s.z); }

}  // namespace

TEST(C3dRead, EveryProcessorAndStorageGivesTheSameMarks) {
    for (const Encoding& encoding : encodings) {
        SCOPED_TRACE(static_cast<int>(encoding.processor) * 10 + encoding.floats);
        C3dBuild build;
        build.processor = encoding.processor;
        build.floats = encoding.floats;
        build.scale = 0.25f;
        build.rate = 59.94f;
        build.frames = 4;
        build.labels = {"RASI", "LASI", "SACR"};
        build.point = [](int p, int f) {
            if (p == 1 && f == 2) return std::array<double, 4>{40, 41, 42, -1};  // negative residual
            if (p == 2 && f == 0) return std::array<double, 4>{0, 0, 0, 3};      // all exactly zero
            return std::array<double, 4>{100.0 * p + 4 * f + 8, -12.0 - f, 400.0 + p, 2};
        };
        CaptureData out;
        ReadError error;
        ASSERT_EQ(parse(build_c3d(build), out, error), 0) << error.text;
        EXPECT_EQ(out.capture_rate, double(59.94f)) << "the file's rate, not rounded";
        EXPECT_EQ(out.num_frames, 4);
        EXPECT_EQ(out.num_columns, 9);
        EXPECT_EQ(out.source_format, CaptureFormat::c3d);
        EXPECT_EQ(out.channels[2].name_text(), "SACR");
        // Integer storage is scaled by |POINT:SCALE|; floats are taken as they are.
        const double factor = encoding.floats ? 1.0 : 0.25;
        EXPECT_DOUBLE_EQ(out.channels[1].samples[3].x, (100.0 + 12 + 8) * factor);
        EXPECT_DOUBLE_EQ(out.channels[0].samples[1].y, -13.0 * factor);
        EXPECT_DOUBLE_EQ(out.channels[2].samples[3].z, 402.0 * factor);
        EXPECT_TRUE(lost(out.channels[1].samples[2]));
        EXPECT_TRUE(lost(out.channels[2].samples[0]));
        EXPECT_FALSE(lost(out.channels[2].samples[1]));
        EXPECT_EQ(out.error_count, 6);
        EXPECT_EQ(out.mark_styles[0].colour, DEFAULT_MARK_COLOUR);
    }
}

TEST(C3dRead, ResidualWordsOriginsFirstFrameAndAnalogChannelsAreKept) {
    for (const Encoding& encoding : encodings) {
        SCOPED_TRACE(static_cast<int>(encoding.processor) * 10 + encoding.floats);
        C3dBuild build;
        build.processor = encoding.processor;
        build.floats = encoding.floats;
        build.frames = 3;
        build.analog_channels = 3;
        build.analog_per_frame = 2;
        // Point 0 was computed by another program at frame 1; point 1 is measured throughout.
        build.point = [](int p, int f) {
            return std::array<double, 4>{1.0 + p, 2.0 + f, 3.0, p == 0 && f == 1 ? 0.0 : 256.0 * (p + 1) + f};
        };
        std::string bytes = build_c3d(build);
        put_c3d_int16(bytes, 6, 63, encoding.processor);  // the header's first and last frames
        put_c3d_int16(bytes, 8, 65, encoding.processor);
        CaptureData out;
        ReadError error;
        ASSERT_EQ(parse(bytes, out, error), 0) << error.text;
        EXPECT_EQ(out.first_frame, 63);
        EXPECT_EQ(out.analog_channels, 3);
        EXPECT_EQ(out.analog_rate, 200.0);
        EXPECT_EQ(out.channels[0].residuals[0], 256.0f);
        EXPECT_EQ(out.channels[0].residuals[1], 0.0f);
        EXPECT_EQ(out.channels[1].residuals[2], 514.0f);
        ASSERT_TRUE(out.channels[0].origins);
        EXPECT_EQ(out.channels[0].origin(0), SampleOrigin::measured);
        EXPECT_EQ(out.channels[0].origin(1), SampleOrigin::computed);
        EXPECT_FALSE(out.channels[1].origins) << "an all-measured mark has no origins";
        EXPECT_EQ(out.c3d_source->mark_points, (std::vector<int>{0, 1}));
    }
}

TEST(C3dRead, FloatFilesMayStoreTheResidualWordUnsignedOrACoordinateNotFinite) {
    for (C3dProcessor processor : {C3dProcessor::intel, C3dProcessor::mips}) {
        C3dBuild build;
        build.processor = processor;
        build.frames = 5;
        build.labels = {"A"};
        build.point = [](int, int f) {
            const double nan = std::numeric_limits<double>::quiet_NaN();
            switch (f) {
            case 0: return std::array<double, 4>{1, 2, 3, 40000};  // the residual word's sign bit set
            case 1: return std::array<double, 4>{1, 2, 3, 32767};  // the largest positive word
            case 2: return std::array<double, 4>{1, nan, 3, 0};
            case 3: return std::array<double, 4>{INFINITY, 2, 3, 0};
            default: return std::array<double, 4>{0, 0, 0.5, 0};   // two zeros do not make a lost point
            }
        };
        CaptureData out;
        ReadError error;
        ASSERT_EQ(parse(build_c3d(build), out, error), 0) << error.text;
        const Sample* s = out.channels[0].samples.get();
        EXPECT_TRUE(lost(s[0]));
        EXPECT_FALSE(lost(s[1]));
        EXPECT_TRUE(lost(s[2]));
        EXPECT_TRUE(lost(s[3]));
        EXPECT_EQ(s[4].z, 0.5);
        EXPECT_EQ(out.error_count, 9);
    }
}

TEST(C3dRead, ModelOutputsAreLeftOutAndAnalogSamplesSkipped) {
    C3dBuild build;
    build.frames = 3;
    build.labels = {"LHipAngles", "RKNE", "LGroundReactionForce", "LANK", "LKneeMoment", "LHipPower", "COM", "RAJC"};
    build.label_groups = {{"ANGLES", {"LHipAngles"}},  {"FORCES", {"LGroundReactionForce"}},
                          {"MOMENTS", {"LKneeMoment"}}, {"POWERS", {"LHipPower"}},
                          {"SCALARS", {"COM"}},         {"MODELED_MARKERS", {"RAJC"}}};
    build.analog_channels = 3;
    build.analog_per_frame = 2;
    CaptureData out;
    ReadError error;
    ASSERT_EQ(parse(build_c3d(build), out, error), 0) << error.text;
    ASSERT_EQ(out.mark_count(), 3);
    EXPECT_EQ(out.channels[0].name_text(), "RKNE");
    EXPECT_EQ(out.channels[1].name_text(), "LANK");
    EXPECT_EQ(out.channels[2].name_text(), "RAJC");  // modelled markers are marks
    // Point 3 (LANK) at frame 2 comes after two frames of 8 points and 6 analog values each.
    EXPECT_DOUBLE_EQ(out.channels[1].samples[2].x, 10.0 * 3 + 2 + 1);
    EXPECT_DOUBLE_EQ(out.channels[2].samples[2].z, -30.0 * 7 - 2 - 3);
}

TEST(C3dRead, LabelsGoOnInLabels2AndAreMadeSafe) {
    C3dBuild build;
    build.labels = {"  L ASIS ", "", "R\xc3\xa9K", "L ASIS", "0X"};
    build.labels_in_first = 2;
    CaptureData out;
    ReadError error;
    ASSERT_EQ(parse(build_c3d(build), out, error), 0) << error.text;
    ASSERT_EQ(out.mark_count(), 5);
    EXPECT_EQ(out.channels[0].name_text(), "L_ASIS");
    EXPECT_EQ(out.channels[1].name_text(), "M002");
    EXPECT_EQ(out.channels[2].name_text(), "R__K");
    EXPECT_EQ(out.channels[3].name_text(), "L_ASIS~2");
    EXPECT_EQ(out.channels[4].name_text(), "M0X");
    EXPECT_EQ(*out.header,
              "INFORMATION_SECTION\nCAPTURE_RATE: 100\nNUM_CHANNELS: 15\nNUM_DATA: 3\nCHANNEL_NAMES\n"
              "L_ASIS_x_ 0\nL_ASIS_y_ 1\nL_ASIS_z_ 2\nM002_x_ 3\nM002_y_ 4\nM002_z_ 5\nR__K_x_ 6\nR__K_y_ 7\n"
              "R__K_z_ 8\nL_ASIS~2_x_ 9\nL_ASIS~2_y_ 10\nL_ASIS~2_z_ 11\nM0X_x_ 12\nM0X_y_ 13\nM0X_z_ 14\n"
              "DATA_SECTION\n");
}

TEST(C3dRead, TheHeaderStandsInForMissingPointParameters) {
    for (const Encoding& encoding : encodings) {
        C3dBuild build;
        build.processor = encoding.processor;
        build.floats = encoding.floats;
        build.point_parameters = false;
        build.rate = 250;
        build.scale = 2;
        build.frames = 2;
        CaptureData out;
        ReadError error;
        ASSERT_EQ(parse(build_c3d(build), out, error), 0) << error.text;
        EXPECT_EQ(out.capture_rate, 250);
        EXPECT_EQ(out.num_frames, 2);
        EXPECT_DOUBLE_EQ(out.channels[1].samples[1].y, (20.0 + 2 + 2) * (encoding.floats ? 1 : 2));
    }
}

TEST(C3dRead, BadFilesAreRefusedWithTheirProblem) {
    const std::string good = build_c3d(C3dBuild{});
    CaptureData out;
    ReadError error;
    ASSERT_EQ(parse(good, out, error), 0) << error.text;

    EXPECT_NE(problem_of(good.substr(0, 300)).find("less than the 512-byte header"), std::string::npos);
    // Cut inside the frames.
    C3dBuild longer;
    longer.frames = 200;
    const std::string full = build_c3d(longer);
    EXPECT_NE(problem_of(full.substr(0, full.size() - 1024)).find("truncated"), std::string::npos);

    std::string bytes = good;
    bytes[0] = 100;  // the parameter section far past the end
    EXPECT_NE(problem_of(bytes).find("parameter section (block 100) lies outside the file"), std::string::npos);
    bytes = good;
    bytes[512 + 3] = 83;
    EXPECT_NE(problem_of(bytes).find("processor type 83"), std::string::npos);
    bytes = good;
    bytes[512 + 2] = 120;  // a section of 120 blocks in a file of 3
    EXPECT_NE(problem_of(bytes).find("runs past the end of the file"), std::string::npos);
    bytes = good;
    put_c3d_int16(bytes, 512 + 4 + 2 + 6, 30000, C3dProcessor::intel);  // LABELS' link
    EXPECT_NE(problem_of(bytes).find("LABELS points outside the parameter section"), std::string::npos);
    bytes = good;
    bytes[512 + 4 + 2 + 6 + 2 + 2] = 40;  // LABELS' first dimension, far past its record
    EXPECT_NE(problem_of(bytes).find("LABELS run past its record"), std::string::npos);
}

TEST(C3dRead, CountsAreCheckedBeforeAnythingIsAllocated) {
    C3dBuild build;
    build.frames = 2;
    const std::string good = build_c3d(build);
    const size_t header_frames = 8;
    std::string bytes = good;
    put_c3d_int16(bytes, header_frames, 65535, C3dProcessor::intel);
    // POINT:FRAMES is not written by the builder, so the header's frame range counts.
    EXPECT_NE(problem_of(bytes).find("65535 frames of 2 points need"), std::string::npos);

    C3dBuild many;
    many.labels.assign(1001, "");
    many.labels_in_first = 255;
    many.frames = 1;
    EXPECT_NE(problem_of(build_c3d(many)).find("1001 marks; a layer holds at most 1000"), std::string::npos);

    C3dBuild outputs_only;
    outputs_only.labels = {"LKneeAngles"};
    outputs_only.label_groups = {{"ANGLES", {"LKneeAngles"}}};
    EXPECT_NE(problem_of(build_c3d(outputs_only)).find("no marks"), std::string::npos);

    // DATA_START past the end.
    C3dBuild header_only = build;
    header_only.point_parameters = false;
    std::string no_parameters = build_c3d(header_only);
    put_c3d_int16(no_parameters, 16, 60000, C3dProcessor::intel);
    EXPECT_NE(problem_of(no_parameters).find("data section (block 60000) lies outside the file"), std::string::npos);
    put_c3d_int16(no_parameters, 2, 0, C3dProcessor::intel);
    EXPECT_NE(problem_of(no_parameters).find("no points"), std::string::npos);
}
