// Camera drags, presets, view bounds and where the matrices put a point.
#include <gtest/gtest.h>

#include "engine/formats/capture_io.h"
#include "engine/scene/camera.h"
#include "engine/scene/scene_extent.h"
#include "support/test_support.h"

TEST(Camera, DragsRotateWithButtonOneAndWrapIntoAFullTurn) {
    CameraState camera;
    camera_press(camera, 50, 50);
    camera_drag(camera, 150, 50, true);
    EXPECT_FLOAT_EQ(camera.rot_z, 50.0f);
    EXPECT_FLOAT_EQ(camera.rot_x, 270.0f);
    camera_drag(camera, 50, 250, true);
    EXPECT_FLOAT_EQ(camera.rot_x, 10.0f);  // 370 wrapped
    EXPECT_FLOAT_EQ(camera.rot_z, 0.0f);
    camera_drag(camera, 30, 50, true);
    EXPECT_FLOAT_EQ(camera.rot_z, 350.0f);  // -10 wrapped
    EXPECT_FLOAT_EQ(camera.rot_y, 0.0f);
    EXPECT_FLOAT_EQ(wrap_degrees(720.5f), 0.5f);
    EXPECT_FLOAT_EQ(wrap_degrees(-360.0f), 0.0f);
}

TEST(Camera, OtherButtonsPanByThePixel) {
    CameraState camera;
    camera.pan_x = 5;
    camera_press(camera, 100, 100);
    camera_drag(camera, 130, 80, false);
    EXPECT_FLOAT_EQ(camera.pan_x, 5 - 30.0f);
    EXPECT_FLOAT_EQ(camera.pan_y, -20.0f);
    EXPECT_FLOAT_EQ(camera.rot_x, 270.0f);
}

TEST(Camera, AxisPresetsAndResetClearThePan) {
    CameraState camera;
    camera.pan_x = 3;
    camera_axis_preset(camera, 'y');
    EXPECT_FLOAT_EQ(camera.rot_x, 0.0f);
    EXPECT_FLOAT_EQ(camera.rot_y, 270.0f);
    EXPECT_FLOAT_EQ(camera.pan_x, 0.0f);
    camera_axis_preset(camera, 'z');
    EXPECT_FLOAT_EQ(camera.rot_z, 270.0f);
    EXPECT_FLOAT_EQ(camera.rot_y, 0.0f);
    camera.pan_y = 9;
    reset_camera(camera);
    EXPECT_FLOAT_EQ(camera.rot_x, 270.0f);
    EXPECT_FLOAT_EQ(camera.rot_z, 0.0f);
    EXPECT_FLOAT_EQ(camera.pan_y, 0.0f);
}

TEST(Camera, ViewWidthIsRoundedDownToAMultipleOfFour) {
    EXPECT_EQ(view_width_for(801), 800);
    EXPECT_EQ(view_width_for(802), 800);
    EXPECT_EQ(view_width_for(803), 800);
    EXPECT_EQ(view_width_for(804), 804);
}

TEST(ViewBounds, CoverValidCoordinatesAtTheLayerScale) {
    Recorder recorder;
    TempDir dir;
    const std::string path = dir.path("a.idf");
    write_file(path, make_idf_text(50, 2, 3, [](int m, int f, int a) {
                   if (m == 1 && f == 2) return LOST_VALUE;
                   return a == 2 ? 999998.5 : m * 10.0 + f - a * 100;  // z is lost everywhere
               }));
    ASSERT_EQ(idf_read(path), 0);
    const ViewBounds b = compute_bounds(app, 0.5f);
    EXPECT_DOUBLE_EQ(b.min_x, 0.0);
    EXPECT_DOUBLE_EQ(b.max_x, 11 * 1.5);
    EXPECT_DOUBLE_EQ(b.min_y, -100 * 1.5);
    EXPECT_DOUBLE_EQ(b.max_y, -89 * 1.5);
    EXPECT_DOUBLE_EQ(b.min_z, 99999.0);
    EXPECT_DOUBLE_EQ(b.max_z, -99999.0);
}

TEST(Projection, FramesTheBoundsCentreInTheMiddleAndPansByThePixel) {
    const ViewBounds bounds{-100, 300, 0, 200, 50, 150};
    ProjectionInput in{bounds, 0, 0, 800, 600, 1.0, false};
    CameraState camera;
    const Matrix4 modelview = modelview_matrix(bounds, camera);
    auto centre = project_to_window(projection_matrix(in), modelview, 800, 600, 100, 100, 100);
    EXPECT_NEAR(centre[0], 400, 1e-6);
    EXPECT_NEAR(centre[1], 300, 1e-6);
    in.pan_x = -30;  // a drag 30 pixels to the right
    in.pan_y = -20;  // and 20 up
    centre = project_to_window(projection_matrix(in), modelview, 800, 600, 100, 100, 100);
    EXPECT_NEAR(centre[0], 430, 1e-6);
    EXPECT_NEAR(centre[1], 320, 1e-6);
}

TEST(Projection, OrthographicHeightIsTheDataHeightAtZoomOne) {
    const ViewBounds bounds{0, 1000, 0, 400, 0, 100};
    CameraState camera;
    camera.rot_x = 0;  // looking down z: y is vertical on screen
    for (const int height : {300, 600}) {
        ProjectionInput in{bounds, 0, 0, 800, height, 1.0, true};
        const Matrix4 projection = projection_matrix(in);
        const Matrix4 modelview = modelview_matrix(bounds, camera);
        const auto bottom = project_to_window(projection, modelview, 800, height, 500, 0, 50);
        const auto top = project_to_window(projection, modelview, 800, height, 500, 400, 50);
        EXPECT_NEAR(top[1] - bottom[1], height, 1e-3);
        in.zoom = 0.5;
        const auto half = project_to_window(projection_matrix(in), modelview, 800, height, 500, 400, 50);
        EXPECT_NEAR(half[1] - height / 2.0, height / 4.0, 1e-3);
    }
}

TEST(ViewBounds, TheCoresShareOutTheMarksOfALargeCaptureAndFindTheSameBounds) {
    // 40 marks x 30 000 frames: enough samples to be scanned in parts.
    CaptureData data;
    data.set_columns(3 * 40);
    data.num_frames = 30000;
    for (int m = 0; m < 40; ++m) {
        data.channels[m].samples = std::make_shared<Sample[]>(data.num_frames);
        for (int f = 0; f < data.num_frames; ++f) data.channels[m].samples[f] = {f % 200 - 100.0, m - 50.0, 7.0};
    }
    data.channels[39].samples[7].x = -500;
    data.channels[20].samples[29999].x = 700;
    data.channels[0].samples[3].y = -300;
    data.channels[33].samples[5] = {-900, LOST_VALUE, 7};  // x counts for the view, not for the extent
    const ViewBounds view = compute_bounds(data, 1.0f);
    EXPECT_EQ(view.min_x, -1800);
    EXPECT_EQ(view.max_x, 1400);
    EXPECT_EQ(view.min_y, -600);
    EXPECT_EQ(view.max_y, -22);
    const ViewBounds extent = capture_extent(data);
    EXPECT_EQ(extent.min_x, -500);
    EXPECT_EQ(extent.max_x, 700);
    EXPECT_EQ(extent.min_y, -300);
    EXPECT_EQ(extent.max_z, 7);
}
