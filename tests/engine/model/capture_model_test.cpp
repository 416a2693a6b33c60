// The working copy and the layer slots: shared samples, copied scalars, placement through widgets.
#include <gtest/gtest.h>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/model/colour_table.h"
#include "support/test_support.h"

namespace {

// Opens a small capture as a new layer and returns its slot.
int open_capture(TempDir& dir, const std::string& name, int marks, int frames, double base = 0) {
    const std::string path = dir.path(name);
    write_file(path, make_idf_text(100, marks, frames, [base](int m, int f, int a) { return base + m * 100 + f + a * 0.5; }));
    EXPECT_EQ(idf_read(path), 0);
    return app.current_layer;
}

}  // namespace

TEST(CaptureModel, WorkingCopySharesSamplesButNotScalarsWithItsSlot) {
    Recorder recorder;
    TempDir dir;
    const int slot = open_capture(dir, "a.idf", 2, 5);
    ASSERT_EQ(slot, 1);
    app.channels[1].samples[3].y = 42.0;
    EXPECT_EQ(app.layers[1].channels[1].samples[3].y, 42.0);
    EXPECT_EQ(app.layers[1].channels[1].name, app.channels[1].name);  // the same string, not a copy

    app.error_count = 7;
    app.bone_count = 2;
    app.mark_styles[0] = {4, 0};
    EXPECT_EQ(app.layers[1].error_count, 0);
    EXPECT_EQ(app.layers[1].bone_count, 0);
    layer_store(1);
    EXPECT_EQ(app.layers[1].error_count, 7);
    EXPECT_EQ(app.layers[1].mark_styles[0].colour, 4);
}

TEST(CaptureModel, CountsLostCoordinatesOneByOne) {
    Recorder recorder;
    TempDir dir;
    const std::string path = dir.path("lost.idf");
    write_file(path, make_idf_text(50, 2, 3, [](int m, int f, int a) {
                   if (m == 0 && f == 1) return LOST_VALUE;  // a whole sample: three errors
                   if (m == 1 && f == 2 && a == 2) return 999998.0;  // not lost
                   if (m == 1 && f == 0 && a == 1) return 999998.5;  // lost
                   return 1.0;
               }));
    ASSERT_EQ(idf_read(path), 0);
    EXPECT_EQ(app.error_count, 4);
    EXPECT_EQ(count_lost_values(), 4);
    app.channels[1].samples[2].x = LOST_VALUE;
    EXPECT_EQ(count_lost_values(), 5);
}

TEST(CaptureModel, StoreTakesPlacementFromWidgetsAndFetchLeavesThemAlone) {
    Recorder recorder;
    TempDir dir;
    recorder.placement = {1.5f, -2.0f, 3.0f, 12, 0, 0.25f};
    open_capture(dir, "a.idf", 1, 4);
    open_capture(dir, "b.idf", 1, 4, 1000);
    ASSERT_EQ(app.current_layer, 2);

    // Leave layer 2 with other widget values, as a layer switch does.
    recorder.placement = {7.0f, 8.0f, 9.0f, 3, 1, -0.5f};
    layer_store(2);
    app.current_layer = 1;
    layer_fetch(1);
    EXPECT_EQ(app.channels[0].samples[0].x, 0.0);
    EXPECT_EQ(app.layers[2].offset_x, 7.0f);
    EXPECT_EQ(app.layers[2].initial_frame, 3);
    EXPECT_EQ(app.layers[2].draw_box, 1);
    EXPECT_EQ(app.layers[2].scale, -0.5f);
    EXPECT_EQ(app.layers[2].in_use, 1);
    EXPECT_EQ(app.layers[2].visible, 1);

    layer_fetch(2);
    EXPECT_EQ(app.channels[0].samples[0].x, 1000.0);
    EXPECT_EQ(app.layers[2].offset_x, 7.0f);
}

TEST(CaptureModel, ColourTableHoldsFifteenNamedColours) {
    EXPECT_EQ(colour_count, 15);
    EXPECT_STREQ(ColourTable[0].name, "Rojo Oscuro");
    EXPECT_STREQ(ColourTable[DEFAULT_MARK_COLOUR].name, "Gris");
    EXPECT_EQ(ColourTable[DEFAULT_MARK_COLOUR].red, 158);
    EXPECT_STREQ(ColourTable[14].name, "Negro");
    EXPECT_EQ(ColourTable[10].red, 29);
    EXPECT_EQ(ColourTable[10].green, 249);
}
