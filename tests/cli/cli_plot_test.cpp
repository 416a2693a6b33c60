// zemo-cli plot: the files it writes for items of real captures, real gnuplot runs whose PNG is
// read back (size, where each entry is drawn, its colour, its gaps), and the refusals scripts see.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "engine/model/limits.h"
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

struct Rgb {
    int r, g, b;
    // Grid, axes, text and background are grey, black or white; curves are not.
    bool chromatic() const { return std::max({r, g, b}) - std::min({r, g, b}) > 30; }
};

// A PNG decoded by ImageMagick into rows of RGB bytes.
struct Picture {
    uint32_t width = 0, height = 0;
    std::string rgb;
    bool load(const std::string& path) {
        if (!png_size(read_file(path), width, height)) return false;
        return run_command("convert '" + path + "' -depth 8 rgb:-", &rgb) == 0 && rgb.size() == 3u * width * height;
    }
    Rgb at(uint32_t x, uint32_t y) const {
        const size_t i = 3 * (static_cast<size_t>(y) * width + x);
        return {static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
                static_cast<unsigned char>(rgb[i + 2])};
    }
};

bool near(const Rgb& a, const Rgb& b) {
    return std::abs(a.r - b.r) < 40 && std::abs(a.g - b.g) < 40 && std::abs(a.b - b.b) < 40;
}

// A capture of `marks` marks over `frames` frames, written into the test's folder.
std::string write_capture(const TempDir& dir, int marks, int frames,
                          const std::function<double(int, int, int)>& value) {
    const std::string path = dir.path("capture.idf");
    write_file(path, make_idf_text(100, marks, frames, value));
    return path;
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
    EXPECT_NE(order.find("plot \"data00.dat\" using ($0+10):2 title \"one\" with lines 2, \\\n\"data01.dat\" using "
                         "($0+30):2 title \"two\" with linespoints 8"),
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

// Frames 0..99 in red and 100..199 in blue: each entry sits at its own frames, so red ends where
// blue begins. Frames 140..159 are lost: blue leaves a gap there, draws no spike, and its legend
// says how many frames are missing.
TEST(ZemoCliPlot, TwoDimensionalPlotDrawsEntriesAtTheirFramesWithGapsForLostFrames) {
    TempDir dir;
    const std::string capture = write_capture(dir, 1, 200, [](int, int f, int) {
        return f >= 140 && f < 160 ? LOST_VALUE : 0.0;
    });
    std::string out, err;
    ASSERT_EQ(run_command(cli + " plot --type y --size 400,300 --dir " + shell_word(dir.dir) + " " +
                              shell_word(capture + ":0:0:99:early:1") + " " + shell_word(capture + ":0:100:199:late:3"),
                          &out, &err),
              0)
        << err;
    EXPECT_NE(read_file(dir.path("gplot/order.gnu")).find("title \"late (20 lost frames left out)\""),
              std::string::npos);
    Picture picture;
    ASSERT_TRUE(picture.load(dir.path("gplot/output.png")));
    // The curves lie on y = 0, mid-height; the legend's samples are drawn near the top.
    std::set<uint32_t> red_columns, blue_columns, blue_rows;
    for (uint32_t y = picture.height * 35 / 100; y < picture.height * 90 / 100; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const Rgb pixel = picture.at(x, y);
            if (near(pixel, {249, 0, 0})) red_columns.insert(x);
            if (near(pixel, {0, 0, 249})) {
                blue_columns.insert(x);
                blue_rows.insert(y);
            }
        }
    }
    ASSERT_FALSE(red_columns.empty());
    ASSERT_FALSE(blue_columns.empty());
    EXPECT_LE(*red_columns.rbegin(), *blue_columns.begin() + 1) << "the entries overlap on x";
    const double span = *blue_columns.rbegin() - *blue_columns.begin();
    EXPECT_NEAR(span, *red_columns.rbegin() - *red_columns.begin(), 4) << "both entries cover 100 frames";
    uint32_t widest_gap = 0;
    for (auto x = blue_columns.begin(); std::next(x) != blue_columns.end(); ++x) {
        widest_gap = std::max(widest_gap, *std::next(x) - *x);
    }
    EXPECT_NEAR(widest_gap, span * 21 / 99, 4) << "the lost frames 140..159 leave a gap";
    EXPECT_LE(blue_rows.size(), 2u) << "a lost frame is drawn as a spike";
}

// Twelve marks at heights 0..11, one entry each in the colour menu's order: read top to bottom,
// each curve is drawn in the colour its menu entry names.
TEST(ZemoCliPlot, EachColourOfTheMenuDrawsTheColourItNames) {
    struct Range {
        int low, high;
        bool holds(int v) const { return v >= low && v <= high; }
    };
    struct Named {
        const char* name;
        Range r, g, b;
    };
    const Named colours[12] = {
        {"Red", {200, 255}, {0, 60}, {0, 60}},          {"Green", {0, 100}, {180, 255}, {0, 100}},
        {"Blue", {0, 60}, {0, 60}, {200, 255}},         {"Violet", {90, 200}, {0, 60}, {120, 255}},
        {"Light Blue", {0, 150}, {150, 255}, {200, 255}}, {"Brown", {100, 180}, {50, 120}, {0, 50}},
        {"Yellow", {200, 255}, {200, 255}, {0, 80}},    {"Dark Blue", {0, 40}, {0, 40}, {90, 170}},
        {"Orange", {220, 255}, {120, 200}, {0, 60}},    {"Dark Green", {0, 40}, {90, 170}, {0, 40}},
        {"Light Violet", {180, 255}, {0, 180}, {180, 255}}, {"Dark Red", {100, 170}, {0, 40}, {0, 40}},
    };
    TempDir dir;
    const std::string capture = write_capture(dir, 12, 10, [](int m, int, int) { return m; });
    std::string items;
    for (int c = 1; c <= 12; ++c) items += " " + shell_word(capture + ":" + std::to_string(c - 1) + ":0:9:c:" + std::to_string(c));
    std::string out, err;
    ASSERT_EQ(run_command(cli + " plot --type y --size 400,600 --dir " + shell_word(dir.dir) + items, &out, &err), 0)
        << err;
    Picture picture;
    ASSERT_TRUE(picture.load(dir.path("gplot/output.png")));
    // Down a column left of the legend: one run of curve pixels per entry, the highest first.
    std::vector<Rgb> curves;
    bool in_curve = false;
    for (uint32_t y = 0; y < picture.height; ++y) {
        const Rgb pixel = picture.at(picture.width / 4, y);
        if (pixel.chromatic() && !in_curve) curves.push_back(pixel);
        in_curve = pixel.chromatic();
    }
    ASSERT_EQ(curves.size(), 12u);
    for (int c = 0; c < 12; ++c) {
        const Named& colour = colours[c];
        const Rgb& drawn = curves[11 - c];
        EXPECT_TRUE(colour.r.holds(drawn.r) && colour.g.holds(drawn.g) && colour.b.holds(drawn.b))
            << colour.name << " is drawn as " << drawn.r << "," << drawn.g << "," << drawn.b;
    }
}

// A title and a legend holding "_" and "with lines 2" reach gnuplot as typed, gnuplot prints them
// as plain text, and only the style at the end of the clause is given its "lt" keyword.
TEST(ZemoCliPlot, TitlesAndLegendsStayLiteral) {
    TempDir dir;
    std::string real_gnuplot;
    ASSERT_EQ(run_command("command -v gnuplot", &real_gnuplot), 0);
    real_gnuplot.erase(real_gnuplot.find_last_not_of('\n') + 1);
    // gnuplot as gp.bat finds it in PATH, keeping a copy of the commands it reads.
    mkdir(dir.path("bin").c_str(), 0777);
    write_file(dir.path("bin/gnuplot"), "#!/bin/sh\ntee received.gnu | '" + real_gnuplot + "' \"$@\"\n");
    chmod(dir.path("bin/gnuplot").c_str(), 0755);
    const std::string capture = write_capture(dir, 1, 20, [](int, int f, int) { return f; });
    std::string out, err;
    ASSERT_EQ(run_command("PATH=" + shell_word(dir.path("bin")) + ":\"$PATH\" " + cli +
                              " plot --type x --title 'walk_1 with lines 3' --dir " + shell_word(dir.dir) + " " +
                              shell_word(capture + ":0:0:19:knee_L with lines 2:2"),
                          &out, &err),
              0)
        << err;
    uint32_t width = 0, height = 0;
    EXPECT_TRUE(png_size(read_file(dir.path("gplot/output.png")), width, height));
    const std::string received = read_file(dir.path("gplot/received.gnu"));
    EXPECT_NE(received.find("set title \"walk_1 with lines 3\"\n"), std::string::npos) << received;
    EXPECT_NE(received.find("title \"knee_L with lines 2\" with lines lt 2"), std::string::npos) << received;
    // What gnuplot itself says of its text mode after reading those commands.
    ASSERT_EQ(run_command("cd " + shell_word(dir.path("gplot")) + " && { cat received.gnu; printf '\\nshow terminal\\n'; } | '" +
                              real_gnuplot + "'",
                          &out, &err),
              0)
        << err;
    EXPECT_NE(err.find("terminal type is png"), std::string::npos) << err;
    EXPECT_EQ(err.find("enhanced"), std::string::npos) << err;
}
