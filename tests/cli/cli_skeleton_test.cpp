// zemo-cli skeleton: a real skeleton listed and saved back unchanged, and the refusals scripts see.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

int count_lines_starting(const std::string& text, const std::string& start) {
    int n = 0;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        n += text.compare(at, start.size(), start) == 0;
        if (text.find('\n', at) == std::string::npos) break;
    }
    return n;
}

}  // namespace

TEST(ZemoCliSkeleton, ListsTheMarksAndBonesAndSavesTheSkeletonUnchanged) {
    TempDir dir;
    const std::string out = dir.path("copy.bon");
    std::string text, err;
    ASSERT_EQ(run_command(cli + " skeleton '" + shared_data("evart.idf") + "' '" + shared_data("evart.bon") +
                              "' --save '" + out + "'",
                          &text, &err),
              0)
        << err;
    EXPECT_EQ(text.rfind("marks: 22\nbones: 25\nmark 0 RSHO colour 13 visible 1\n", 0), 0u) << text;
    EXPECT_EQ(count_lines_starting(text, "mark "), 22);
    EXPECT_EQ(count_lines_starting(text, "bone "), 25);
    // The first bones of the file: LASI to RASI and LSHO to RSHO across the midline.
    EXPECT_NE(text.find("\nbone 0 LASI RASI colour 11\nbone 1 LSHO RSHO colour 11\n"), std::string::npos) << text;
    EXPECT_EQ(read_file(out), read_file(shared_data("evart.bon")));
    EXPECT_TRUE(err.empty()) << err;
}

TEST(ZemoCliSkeleton, RefusesSkeletonsThatDoNotFitAndWrongUsage) {
    TempDir dir;
    std::string text, err;
    EXPECT_EQ(run_command(cli + " skeleton '" + shared_data("gait-raw.idf") + "' '" + shared_data("evart.bon") + "'",
                          &text, &err),
              1);
    EXPECT_EQ(err, "The Skeleton file is invalid. \n There is a different number of channels\n");
    EXPECT_TRUE(text.empty());

    const std::string bad = dir.path("bad.bon");
    write_file(bad, "22\t1\n");
    EXPECT_EQ(run_command(cli + " skeleton '" + shared_data("evart.idf") + "' '" + bad + "'", &text, &err), 1);
    EXPECT_EQ(err.rfind("The Skeleton file is invalid. \n Line 2: the file ends before the end of mark 0", 0), 0u)
        << err;

    EXPECT_EQ(run_command(cli + " skeleton '" + shared_data("evart.idf") + "' '" + dir.path("missing.bon") + "'", &text,
                          &err),
              1);
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;

    EXPECT_EQ(run_command(cli + " skeleton '" + shared_data("evart.idf") + "' '" + shared_data("evart.bon") +
                              "' --save '" + dir.dir + "'",
                          &text, &err),
              1);
    EXPECT_EQ(err.rfind("Error saving file:\n " + dir.dir + "\n ", 0), 0u) << err;

    EXPECT_EQ(run_command(cli + " skeleton '" + shared_data("evart.idf") + "'", &text, &err), 2);
    EXPECT_NE(err.find("usage: zemo-cli skeleton CAPTURE SKELETON.bon [--save OUT.bon]"), std::string::npos) << err;
    EXPECT_EQ(run_command(cli + " skeleton a b --save", &text, &err), 2);
}
