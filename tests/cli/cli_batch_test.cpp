// zemo-cli over many captures: outputs named after their inputs, one failure does not stop the
// rest, the worker count does not change a byte, and plans that would lose data are refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

// Ten captures with gaps (real ones, under new names), the sixth not a capture at all.
std::string ten_captures(const TempDir& dir) {
    const char* real[] = {"gait-raw.idf", "evart.idf", "Eb015pi.idf"};
    std::string inputs;
    for (int i = 0; i < 10; ++i) {
        const std::string path = dir.path("trial " + std::to_string(i) + ".idf");
        if (i == 5) {
            write_file(path, "not a capture\n");
        } else {
            std::filesystem::copy_file(shared_data(real[i % 3]), path);
        }
        inputs += " '" + path + "'";
    }
    return inputs;
}

}  // namespace

TEST(ZemoCliBatch, NineOfTenWrittenTheBadOneNamedAndTheWorkerCountChangesNothing) {
    TempDir dir;
    const std::string inputs = ten_captures(dir);
    for (const char* jobs : {"1", "2"}) {
        std::string err;
        const std::string out_dir = dir.path(std::string("out") + jobs);
        EXPECT_EQ(run_command(cli + " fill" + inputs + " --max-gap 0 --out-dir '" + out_dir + "' --ext trc -j " + jobs,
                              nullptr, &err),
                  1);
        EXPECT_NE(err.find("1 of 10 files failed:\n  " + dir.path("trial 5.idf")), std::string::npos) << err;
        size_t progress_lines = 0;
        for (size_t at = 0; (at = err.find("zemo-cli: [", at)) != std::string::npos; ++at) ++progress_lines;
        EXPECT_EQ(progress_lines, 10u) << err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out_dir), {}), 9);
    }
    for (int i = 0; i < 10; ++i) {
        if (i == 5) continue;
        const std::string name = "/trial " + std::to_string(i) + ".trc";
        const std::string one = read_file(dir.path("out1") + name);
        EXPECT_FALSE(one.empty()) << name;
        EXPECT_TRUE(one == read_file(dir.path("out2") + name)) << name;
    }
    // The same file as a single run writes (TRC names the file inside it).
    std::filesystem::create_directories(dir.path("single"));
    const std::string single = dir.path("single/trial 1.trc");
    ASSERT_EQ(run_command(cli + " fill '" + dir.path("trial 1.idf") + "' '" + single + "' --max-gap 0"), 0);
    EXPECT_TRUE(read_file(single) == read_file(dir.path("out1/trial 1.trc")));
}

TEST(ZemoCliBatch, RefusesBeforeAnythingRuns) {
    TempDir dir;
    std::filesystem::create_directories(dir.path("a"));
    std::filesystem::create_directories(dir.path("b"));
    std::filesystem::copy_file(shared_data("evart.idf"), dir.path("a/walk.idf"));
    std::filesystem::copy_file(shared_data("evart.idf"), dir.path("b/walk.idf"));
    struct Case {
        std::string words, refusal;
        int code;
    };
    const Case cases[] = {
        {"copy a/walk.idf b/walk.idf --out-dir out", "b/walk.idf and a/walk.idf would both write out/walk.idf", 1},
        {"copy a/walk.idf --out-dir a", "a/walk.idf would overwrite its input a/walk.idf", 1},
        {"convert a/walk.idf --out-dir out --ext png", "--ext must be idf, trc or c3d", 2},
        {"smooth a/walk.idf --out-dir out --speed 2", "unknown option --speed", 2},
        {"fill a/walk.idf --out-dir out -j 0", "-j must be a whole number of at least 1", 2},
        {"filter a/walk.idf --out-dir out --speed 2", "unknown option --speed", 2},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_EQ(run_command("cd '" + dir.dir + "' && " + cli + " " + c.words, nullptr, &err), c.code) << c.words;
        EXPECT_NE(err.find(c.refusal), std::string::npos) << c.words << "\n" << err;
        EXPECT_FALSE(std::filesystem::exists(dir.path("out"))) << c.words;
    }
    EXPECT_TRUE(read_file(dir.path("a/walk.idf")) == read_file(shared_data("evart.idf")));
}
