// The to-plot list: choosing a layer from the menu position, removing selected entries, and
// refusing entries whose file has gone.
#include <gtest/gtest.h>

#include "engine/plot/plot_items.h"
#include "plot_test_support.h"

namespace {

struct PlotItems : ::testing::Test {
    Recorder recorder;
    TempDir dir;
    void SetUp() override { plot_items.clear(); }
    void TearDown() override { plot_items.clear(); }
    static double ramp(int m, int f, int a) { return m * 100.0 + f + a * 0.5; }
};

std::vector<std::string> legends() {
    std::vector<std::string> out;
    for (const PlotItem& item : plot_items) out.push_back(item.legend);
    return out;
}

}  // namespace

TEST_F(PlotItems, MenuPositionCountsOnlySlotsInUse) {
    app.layers[2].in_use = 1;
    app.layers[5].in_use = 1;
    app.layers[9].in_use = 1;
    EXPECT_EQ(plot_chosen_layer(app, 0), 2);
    EXPECT_EQ(plot_chosen_layer(app, 1), 5);
    EXPECT_EQ(plot_chosen_layer(app, 2), 9);
    EXPECT_EQ(plot_chosen_layer(app, 3), 0);
    EXPECT_EQ(plot_chosen_layer(app, -1), 0);
}

TEST_F(PlotItems, RemovingThreeSelectedEntriesKeepsTheOthersInOrder) {
    for (const char* name : {"a", "b", "c", "d", "e"}) plot_append_item(entry(1, 0, 0, 1, name));
    plot_remove_positions({3, 0, 2});
    EXPECT_EQ(legends(), (std::vector<std::string>{"b", "e"}));
    plot_remove_positions({7, -1, 1, 1});
    EXPECT_EQ(legends(), (std::vector<std::string>{"b"}));
}

TEST_F(PlotItems, EntryKeepsTheFieldsItWasMadeWith) {
    const int layer = open_layer(dir, "one.idf", 2, 30, ramp);
    std::string label = "one";
    const PlotItem item = entry(layer, 1, 3, 20, label, 8, true, false);
    label = "changed afterwards";
    EXPECT_EQ(item.layer, layer);
    EXPECT_EQ(item.channel, 1);
    EXPECT_EQ(item.first_frame, 3);
    EXPECT_EQ(item.last_frame, 20);
    EXPECT_EQ(item.legend, "one");
    EXPECT_EQ(item.line_type, 8);
    EXPECT_EQ(item.dots, 1);
    EXPECT_EQ(item.filled, 0);
    EXPECT_EQ(plot_item_problem(app, item, 0), "");
}

TEST_F(PlotItems, EntryOfAClosedLayerIsRefused) {
    const int layer = open_layer(dir, "one.idf", 2, 30, ramp);
    const PlotItem item = entry(layer, 0, 0, 29, "one");
    close_current_capture();
    EXPECT_EQ(plot_item_problem(app, item, 3),
              "The entry 3 (one) of the plot list comes from a file that has been closed.\n Remove it from the list.");
}

TEST_F(PlotItems, EntryOfASlotThatReceivedAnotherFileIsRefused) {
    const int layer = open_layer(dir, "one.idf", 2, 30, ramp);
    const PlotItem item = entry(layer, 0, 0, 29, "one");
    close_current_capture();
    app.current_layer = 0;
    // The same name again in the same slot is still another file.
    ASSERT_EQ(open_layer(dir, "one.idf", 2, 30, ramp), layer);
    EXPECT_NE(plot_item_problem(app, item, 0), "");
    EXPECT_EQ(plot_item_problem(app, entry(layer, 0, 0, 29, "one"), 0), "");
}

TEST_F(PlotItems, ChannelsAndFramesOutsideTheLayerAreRefusedButAnInvertedIntervalIsNot) {
    const int layer = open_layer(dir, "one.idf", 2, 30, ramp);
    EXPECT_NE(plot_item_problem(app, entry(layer, 2, 0, 29, "x"), 0).find("channel 2"), std::string::npos);
    EXPECT_NE(plot_item_problem(app, entry(layer, 0, 0, 30, "x"), 0).find("outside the layer's 0 - 29"),
              std::string::npos);
    EXPECT_NE(plot_item_problem(app, entry(layer, 0, -1, 5, "x"), 0), "");
    EXPECT_EQ(plot_item_problem(app, entry(layer, 0, 20, 10, "x"), 0), "");
    EXPECT_NE(plot_item_problem(app, entry(0, 0, 0, 1, "x"), 0), "");
}
