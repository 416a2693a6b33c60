// zemo-cli plot: the files it writes for items of real captures, a real gnuplot run that leaves
// a PNG of the requested size, and the refusals scripts see.
#include <gtest/gtest.h>

#include <cstdint>

#include "support/test_support.h"

namespace {

const std::string cli = build_path("zemo-cli");

std::string shell_word(const std::string& text) { return "'" + text + "'"; }

uint32_t big_endian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Width and height from the IHDR chunk, which a PNG holds right after its signature.
bool png_size(const std::string& png, uint32_t& width, uint32_t& height) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || png.compare(12, 4, "IHDR") != 0) return false;
    width = big_endian(png, 16);
    height = big_endian(png, 20);
    return true;
}

int count_lines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

}  // namespace

TEST(ZemoCliPlot, RunsGnuplotIntoAPngOfTheRequestedSize) {
    TempDir dir;
    const std::string capture = shared_data("evart.idf");
    std::string out, err;
    ASSERT_EQ(run_command(cli + " plot --size 320,200 --title 'Shoulders' --view 70,40 --dir " + shell_word(dir.dir) + " " +
                              shell_word(capture + ":RSHO:0:200:right:1") + " " + shell_word(capture + ":1:0:200:left:3:dots"),
                          &out, &err),
              0)
        << err;
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(png_size(read_file(dir.path("gplot/output.png")), width, height));
    EXPECT_EQ(width, 320u);
    EXPECT_EQ(height, 200u);
    EXPECT_EQ(count_lines(read_file(dir.path("gplot/data00.dat"))), 201);
    const std::string order = read_file(dir.path("gplot/order.gnu"));
    EXPECT_NE(order.find("set terminal png size 320,200\n\nset grid\nset title \"Shoulders\"\nset view 70,40\n"),
              std::string::npos)
        << order;
    EXPECT_NE(order.find("splot \"data00.dat\"  title \"right\" with lines 1, \\\n\"data01.dat\"  title \"left\" with "
                         "linespoints 3"),
              std::string::npos)
        << order;

    // A 2-D plot of one axis through gnuplot as well.
    ASSERT_EQ(run_command(cli + " plot --type z --size 400,300 --dir " + shell_word(dir.dir) + " " +
                              shell_word(capture + ":RSHO:10:20:z:5:filled"),
                          &out, &err),
              0)
        << err;
    ASSERT_TRUE(png_size(read_file(dir.path("gplot/output.png")), width, height));
    EXPECT_EQ(width, 400u);
    EXPECT_EQ(height, 300u);
    EXPECT_NE(read_file(dir.path("gplot/order.gnu")).find("set xrange [10:20]\n"), std::string::npos);
}

TEST(ZemoCliPlot, NoRunWritesTheFilesOnly) {
    TempDir dir;
    const std::string capture = shared_data("evart.idf");
    std::string out, err;
    ASSERT_EQ(run_command(cli + " plot --no-run --type y --dir " + shell_word(dir.dir) + " " +
                              shell_word(capture + ":0:10:20:one:2") + " " + shell_word(capture + ":0:30:25:two:8:dots"),
                          &out, &err),
              0)
        << err;
    EXPECT_EQ(count_lines(read_file(dir.path("gplot/data00.dat"))), 11);
    EXPECT_EQ(read_file(dir.path("gplot/data01.dat")), "");
    const std::string order = read_file(dir.path("gplot/order.gnu"));
    EXPECT_NE(order.find("set xrange [10:25]\n"), std::string::npos) << order;
    EXPECT_NE(order.find("plot \"data00.dat\" using 2 title \"one\" with lines 2, \\\n\"data01.dat\" using 2 title "
                         "\"two\" with linespoints 8"),
              std::string::npos)
        << order;
    EXPECT_EQ(order.substr(order.size() - 13), "linespoints 8") << "nothing follows the last entry";
    EXPECT_EQ(read_file(dir.path("gplot/output.png")), "");
}

TEST(ZemoCliPlot, RefusesBadItemsAndWrongUsage) {
    TempDir dir;
    const std::string capture = shared_data("evart.idf");
    std::string out, err;
    const std::string base = cli + " plot --no-run --dir " + shell_word(dir.dir) + " ";
    EXPECT_EQ(run_command(base + shell_word(capture + ":NOSUCH:0:10:a:1"), &out, &err), 1);
    EXPECT_NE(err.find("no mark \"NOSUCH\""), std::string::npos) << err;
    EXPECT_EQ(run_command(base + shell_word(capture + ":0:0:100000:a:1"), &out, &err), 1);
    EXPECT_NE(err.find("outside the layer"), std::string::npos) << err;
    EXPECT_EQ(run_command(base + shell_word(dir.path("missing.idf") + ":0:0:10:a:1"), &out, &err), 1);
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    EXPECT_EQ(run_command(base + shell_word(capture + ":0:0:10:a:13"), &out, &err), 2);
    EXPECT_NE(err.find("COLOUR is 1..12"), std::string::npos) << err;
    EXPECT_EQ(run_command(base + shell_word(capture + ":0:0:10:a"), &out, &err), 2);
    EXPECT_EQ(run_command(base + "--type w " + shell_word(capture + ":0:0:10:a:1"), &out, &err), 2);
    EXPECT_EQ(run_command(base + "--size 300 " + shell_word(capture + ":0:0:10:a:1"), &out, &err), 2);
    EXPECT_EQ(run_command(base, &out, &err), 2);
    EXPECT_NE(err.find("usage: zemo-cli plot"), std::string::npos) << err;
}
