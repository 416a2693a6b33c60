// The gnuplot files: data lines and command file byte for byte, the axis ranges, and the whole
// plot written into a folder with its refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "engine/model/seams.h"
#include "engine/plot/plot_files.h"
#include "plot_test_support.h"

namespace {

struct PlotFiles : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    void SetUp() override { plot_items.clear(); }
    void TearDown() override { plot_items.clear(); }

    std::string folder() {
        const std::string path = dir.path("gplot");
        mkdir(path.c_str(), 0777);
        return path;
    }
    bool exists(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0;
    }
};

std::string commands(const std::vector<PlotItem>& items, const PlotSettings& settings, const PlotBounds& bounds,
                     const std::vector<LostFrames>& lost = {}) {
    std::ostringstream out;
    plot_write_commands(out, items, settings, bounds, lost);
    return out.str();
}

PlotBounds bounds_of(std::initializer_list<Sample> samples, int first = 0, int last = 0) {
    PlotBounds bounds;
    bounds.add_frames(first, last);
    for (const Sample& s : samples) bounds.add_sample(s);
    return bounds;
}

int count_lines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

}  // namespace

TEST(PlotData, WritesEveryFrameOfTheIntervalWithSixDecimalsAndTabsAndLostCoordinatesAsNaN) {
    std::vector<Sample> samples(30);
    for (int f = 0; f < 30; ++f) samples[f] = {f + 0.5, -f * 0.25, 1000.0 / 3};
    samples[12].y = LOST_VALUE;
    samples[14] = {LOST_VALUE, LOST_VALUE, LOST_VALUE};
    PlotBounds bounds;
    std::ostringstream out;
    const LostFrames lost = plot_write_data(out, samples.data(), 10, 20, bounds);
    const std::string text = out.str();
    EXPECT_EQ(count_lines(text), 11);
    EXPECT_EQ(text.rfind("10.500000\t-2.500000\t333.333333\n11.500000\t-2.750000\t333.333333\n"
                         "12.500000\tNaN\t333.333333\n13.500000\t-3.250000\t333.333333\nNaN\tNaN\tNaN\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(lost.axis[0], 1);
    EXPECT_EQ(lost.axis[1], 2);
    EXPECT_EQ(lost.any, 2);
    EXPECT_EQ(lost.left_out(PLOT_Z), 1);
    EXPECT_EQ(lost.left_out(PLOT_XYZ), 2);
    EXPECT_EQ(text.substr(text.size() - 31), "20.500000\t-5.000000\t333.333333\n");
    // Lost coordinates take no part in the bounds.
    EXPECT_FLOAT_EQ(bounds.low[1], -5.0f);
    EXPECT_FLOAT_EQ(bounds.high[1], -2.5f);
    EXPECT_FLOAT_EQ(bounds.low[0], 10.5f);
    EXPECT_FLOAT_EQ(bounds.high[0], 20.5f);
}

TEST(PlotData, InvertedIntervalWritesNothing) {
    std::vector<Sample> samples(30, Sample{1, 2, 3});
    PlotBounds bounds;
    std::ostringstream out;
    plot_write_data(out, samples.data(), 20, 10, bounds);
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(bounds.valid[0]);
}

TEST(PlotBoundsRange, TruncatesTowardZeroThenWidensByOne) {
    const PlotBounds bounds = bounds_of({{-12.7, 0.9, -0.4}, {45.3, -0.9, 999998.5}, {3, 5, 2.99}});
    EXPECT_EQ(bounds.range_low(0), -13);
    EXPECT_EQ(bounds.range_high(0), 46);
    EXPECT_EQ(bounds.range_low(1), -1);
    EXPECT_EQ(bounds.range_high(1), 6);
    EXPECT_EQ(bounds.range_low(2), -1);
    EXPECT_EQ(bounds.range_high(2), 3);
}

TEST(PlotCommands, TwoEntriesOnTheYAxisByteForByte) {
    PlotItem one, two;
    one.legend = "one";
    one.line_type = 2;
    one.first_frame = 5;
    two.legend = "two";
    two.line_type = 8;
    two.dots = 1;
    PlotSettings settings;
    settings.type = PLOT_Y;
    settings.title = "Gait \"A\"";
    PlotBounds bounds = bounds_of({{0, -12.7, 0}, {0, 45.3, 0}}, 5, 20);
    bounds.add_frames(20, 10);  // an inverted interval still widens the frame span
    bounds.add_frames(0, 7);
    LostFrames lost;
    lost.axis[1] = 3;
    lost.any = 4;
    EXPECT_EQ(commands({one, two}, settings, bounds, {LostFrames{}, lost}),
              "set parametric\n"
              "set output \"output.png\"\n"
              "set terminal png size 640,480\n\n"
              "set grid\n"
              "set title \"Gait \\\"A\\\"\"\n"
              "set xrange [0:20]\n"
              "set yrange [-13:46]\n"
              "plot \"data00.dat\" using ($0+5):2 title \"one\" with lines 2, \\\n"
              "\"data01.dat\" using ($0+0):2 title \"two (3 lost frames left out)\" with linespoints 8");
}

TEST(PlotCommands, ThreeDimensionalPlotHasViewRangesAndTwoBlanksBeforeTitle) {
    PlotItem item;
    item.legend = "knee";
    item.line_type = 12;
    item.filled = 1;
    item.dots = 1;
    PlotSettings settings;
    settings.width = 800;
    settings.height = 600;
    settings.rotation_x = 75;
    settings.rotation_z = 120;
    const PlotBounds bounds = bounds_of({{-12.7, 1.5, 100.2}, {45.3, 2.5, 200.9}});
    LostFrames lost;
    lost.axis[2] = 1;
    lost.any = 1;
    EXPECT_EQ(commands({item}, settings, bounds, {lost}),
              "set parametric\n"
              "set output \"output.png\"\n"
              "set terminal png size 800,600\n\n"
              "set grid\n"
              "set title \"\"\n"
              "set view 75,120\n"
              "set xrange [-13:46]\n"
              "set yrange [0:3]\n"
              "set zrange [99:201]\n"
              "splot \"data00.dat\"  title \"knee (1 lost frame left out)\" with filledcurves 12");
}

TEST(PlotCommands, XAndZPlotsSelectTheirColumn) {
    PlotItem item;
    item.legend = "a";
    PlotSettings settings;
    const PlotBounds bounds = bounds_of({{1, 2, 3}}, 0, 9);
    settings.type = PLOT_X;
    EXPECT_NE(commands({item}, settings, bounds).find("set yrange [0:2]\nplot \"data00.dat\" using ($0+0):1 title"),
              std::string::npos);
    settings.type = PLOT_Z;
    EXPECT_NE(commands({item}, settings, bounds).find("set yrange [2:4]\nplot \"data00.dat\" using ($0+0):3 title"),
              std::string::npos);
}

// gnuplot reads "\" and "\"" in a double-quoted string as escapes; everything else, "_" and
// "with lines 2" included, is written as typed.
TEST(GnuplotString, ReadsBackAsTheTextTyped) {
    const std::pair<std::string, std::string> cases[] = {
        {"knee_L with lines 2", "\"knee_L with lines 2\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\temp\\new", "\"C:\\\\temp\\\\new\""},
        {"two\nlines", "\"two lines\""},
        {"", "\"\""},
    };
    for (const auto& [text, quoted] : cases) EXPECT_EQ(gnuplot_string(text), quoted) << text;
}

TEST_F(PlotFiles, WritesOneDataFilePerEntryAndTheCommandFileAcrossLayers) {
    const int first = open_layer(dir, "a.idf", 2, 30, [](int m, int f, int a) { return m * 10.0 + f + a; });
    const int second = open_layer(dir, "b.idf", 3, 12, [](int m, int f, int a) { return -(m + f + a + 0.5); });
    ASSERT_EQ(app.current_layer, second);
    plot_append_item(entry(first, 1, 10, 20, "a1", 2));
    plot_append_item(entry(second, 2, 0, 3, "b2", 8, true));
    const std::string out = folder();
    write_file(out + "/data05.dat", "older\n");
    PlotSettings settings;
    settings.type = PLOT_Y;
    const Status written = write_plot(out, settings);
    ASSERT_TRUE(written.ok()) << written.message();
    EXPECT_TRUE(recorder.messages.empty());

    const std::string a = read_file(out + "/data00.dat");
    EXPECT_EQ(count_lines(a), 11);
    EXPECT_EQ(a.rfind("20.000000\t21.000000\t22.000000\n", 0), 0u) << a;
    EXPECT_EQ(read_file(out + "/data01.dat"),
              "-2.500000\t-3.500000\t-4.500000\n-3.500000\t-4.500000\t-5.500000\n"
              "-4.500000\t-5.500000\t-6.500000\n-5.500000\t-6.500000\t-7.500000\n");
    EXPECT_EQ(read_file(out + "/data05.dat"), "older\n") << "files beyond the entries are left";
    // y runs from -6.5 (layer b) to 31 (layer a).
    EXPECT_EQ(read_file(out + "/order.gnu"),
              "set parametric\nset output \"output.png\"\nset terminal png size 640,480\n\nset grid\n"
              "set title \"\"\nset xrange [0:20]\nset yrange [-7:32]\n"
              "plot \"data00.dat\" using ($0+10):2 title \"a1\" with lines 2, \\\n"
              "\"data01.dat\" using ($0+0):2 title \"b2\" with linespoints 8");
    // The working copy is the current layer again.
    EXPECT_EQ(app.current_layer, second);
    EXPECT_EQ(app.mark_count(), 3);
    EXPECT_EQ(app.num_frames, 12);
}

TEST_F(PlotFiles, EmptyListIsRefusedAndWritesNothing) {
    const std::string out = folder();
    EXPECT_EQ(write_plot(out, PlotSettings{}).message(),
              "There is nothing to plot.\n Add channels to the To Plot list first.");
    EXPECT_FALSE(exists(out + "/order.gnu"));
}

TEST_F(PlotFiles, ClosedLayerIsRefusedNamingTheEntry) {
    const int first = open_layer(dir, "a.idf", 2, 30, [](int, int f, int) { return f; });
    const int second = open_layer(dir, "b.idf", 2, 30, [](int, int f, int) { return f; });
    plot_append_item(entry(second, 0, 0, 5, "kept"));
    plot_append_item(entry(first, 0, 0, 5, "gone"));
    layer_fetch(first);
    app.current_layer = first;
    close_current_capture();
    layer_fetch(second);
    app.current_layer = second;
    const std::string out = folder();
    const Status refused = write_plot(out, PlotSettings{});
    EXPECT_NE(refused.message().find("The entry 1 (gone)"), std::string::npos) << refused.message();
    EXPECT_FALSE(exists(out + "/data00.dat"));
    EXPECT_FALSE(exists(out + "/order.gnu"));
}

TEST_F(PlotFiles, AxisWithoutValidCoordinateIsRefusedOnlyWhenThePlotNeedsIt) {
    const int layer = open_layer(dir, "a.idf", 1, 10, [](int, int f, int a) { return a == 2 ? LOST_VALUE : f; });
    plot_append_item(entry(layer, 0, 0, 9, "lost z"));
    const std::string out = folder();
    EXPECT_NE(write_plot(out, PlotSettings{}).message().find("Z axis"), std::string::npos);
    EXPECT_FALSE(exists(out + "/data00.dat"));

    PlotSettings on_x;
    on_x.type = PLOT_X;
    EXPECT_TRUE(write_plot(out, on_x).ok());
    // An inverted interval alone gives no valid value either.
    plot_items.clear();
    plot_append_item(entry(layer, 0, 5, 2, "inverted"));
    EXPECT_FALSE(write_plot(out, on_x).ok());
}

TEST_F(PlotFiles, MissingFolderEndsThePlotSilently) {
    const int layer = open_layer(dir, "a.idf", 2, 10, [](int m, int f, int) { return m + f; });
    plot_append_item(entry(layer, 1, 0, 9, "a"));
    EXPECT_FALSE(write_plot(dir.path("no-such-folder"), PlotSettings{}).ok());
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(app.current_layer, layer);
    EXPECT_EQ(app.mark_count(), 2);
}
