// The view fitted to a capture: sizes from its extent, its up axis, the framing of a box, and
// picking a mark where drawing puts it.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/scene/frame_time.h"
#include "engine/scene/picking.h"
#include "engine/scene/scene_extent.h"
#include "engine/scene/up_axis.h"
#include "engine/scene/view_framing.h"

namespace {

// A capture of one frame whose marks stand at the given points.
CaptureData capture_of(const std::vector<ScenePoint>& points) {
    CaptureData data;
    data.num_frames = 1;
    data.set_columns(static_cast<int>(points.size()) * 3);
    for (size_t m = 0; m < points.size(); ++m) {
        data.channels[m].samples = std::shared_ptr<Sample[]>(new Sample[1]);
        data.channels[m].samples[0] = {points[m].x, points[m].y, points[m].z};
    }
    return data;
}

ViewMatrices framed_view(const ViewBounds& box, int width = 800, int height = 600, bool orthographic = false) {
    CameraState camera;
    const ViewFraming framing = frame_box(box, box, camera, UpAxis{}, double(width) / height);
    return framed_matrices(framing, camera, width, height, 1.0, orthographic);
}

}  // namespace

TEST(SceneSizes, FollowTheExtentWhateverTheUnits) {
    // A walk of 6 m by 1.8 m, in millimetres and in metres, with a lost sample far away.
    for (const double unit : {1000.0, 1.0}) {
        CaptureData data = capture_of({{0, 0, 0}, {6 * unit, 0.5 * unit, 1.8 * unit}, {LOST_VALUE, 0, 0}});
        const SceneSizes sizes = default_sizes(capture_extent(data));
        EXPECT_NEAR(sizes.mark, 0.006 * 6 * unit, 1e-9);
        EXPECT_NEAR(sizes.bone / sizes.mark, 1.0 / 1.8, 1e-9);
        EXPECT_NEAR(sizes.velocity / sizes.mark, 0.5 / 1.8, 1e-9);
    }
    EXPECT_DOUBLE_EQ(default_sizes(empty_extent()).mark, 1.8);
    const struct {
        double value;
        int digits;
    } spins[] = {{36, 1}, {1.8, 2}, {0.036, 4}};
    for (const auto& spin : spins) EXPECT_EQ(size_spin_for(spin.value).digits, spin.digits) << spin.value;
    EXPECT_GE(size_spin_for(500).upper, 500);
}

TEST(UpAxis, ComesFromTheScreenTextsAndStandsOnZ) {
    const struct {
        const char *x_screen, *y_screen;
        int up, up_sign, right, right_sign;
    } cases[] = {
        {"+X", "+Z", 2, 1, 0, 1}, {"+X", "+Y", 1, 1, 0, 1}, {"-Z", " -y", 1, -1, 2, -1},
        {"+Y", "+X", 0, 1, 1, 1}, {"junk", "+Y", 1, 1, 0, 1}, {"+Z", "+Z", 2, 1, 0, 1},
    };
    for (const auto& c : cases) {
        const UpAxis up = up_axis_from_screen(c.x_screen, c.y_screen);
        EXPECT_EQ(up.up, c.up) << c.x_screen << c.y_screen;
        EXPECT_EQ(up.up_sign, c.up_sign) << c.x_screen << c.y_screen;
        EXPECT_EQ(up.right, c.right) << c.x_screen << c.y_screen;
        EXPECT_EQ(up.right_sign, c.right_sign) << c.x_screen << c.y_screen;
        // The up axis turns onto +Z and the right one onto +X.
        double u[3] = {0, 0, 0}, r[3] = {0, 0, 0};
        u[up.up] = up.up_sign;
        r[up.right] = up.right_sign;
        const auto turned_up = transform(up_rotation(up), u[0], u[1], u[2], 0);
        const auto turned_right = transform(up_rotation(up), r[0], r[1], r[2], 0);
        EXPECT_NEAR(turned_up[2], 1, 1e-12);
        EXPECT_NEAR(turned_right[0], 1, 1e-12);
    }
    // A capture that names no right axis is seen from the side of its longer level axis.
    const ViewBounds walk_along_y{0, 800, -3000, 4000, 0, 1800};
    EXPECT_EQ(side_on(UpAxis{}, walk_along_y).right, 1);
    EXPECT_EQ(chosen_up_axis(1, UpAxis{}, walk_along_y).up, 1);
    EXPECT_EQ(chosen_up_axis(1, UpAxis{}, walk_along_y).right, 2);
}

TEST(Framing, PutsTheBoxInsideTheViewAndFillsIt) {
    const ViewBounds box{-100, 300, 0, 2000, 50, 1850};
    for (const auto& size : {std::pair{800, 600}, std::pair{400, 800}}) {
        const ViewMatrices m = framed_view(box, size.first, size.second);
        double most = 0;
        for (int i = 0; i < 8; ++i) {
            const ScenePoint corner{i & 1 ? box.max_x : box.min_x, i & 2 ? box.max_y : box.min_y,
                                    i & 4 ? box.max_z : box.min_z};
            const auto at = project_point(m, corner);
            const double dx = std::abs(at[0] / size.first - 0.5) * 2, dy = std::abs(at[1] / size.second - 0.5) * 2;
            EXPECT_LE(dx, FRAME_FILL + 1e-9);
            EXPECT_LE(dy, FRAME_FILL + 1e-9);
            EXPECT_GT(at[2], 0);
            EXPECT_LT(at[2], 1);
            most = std::max({most, dx, dy});
        }
        EXPECT_NEAR(most, FRAME_FILL, 1e-6);
        const auto centre = project_point(m, {100, 1000, 950});
        EXPECT_NEAR(centre[0], size.first / 2.0, 1e-6);
        EXPECT_NEAR(centre[1], size.second / 2.0, 1e-6);
    }
}

TEST(Picking, FindsTheMarkWhereDrawingPutsItAndIgnoresLostOrHiddenOnes) {
    // Marks 0 and 3 lie one behind the other: the default camera looks along +y, orthographic.
    CaptureData data = capture_of({{0, 0, 0}, {1000, 0, 1000}, {500, 500, 500}, {0, 800, 0}, {LOST_VALUE, 0, 0}});
    const ViewBounds box{0, 1000, 0, 800, 0, 1000};
    const ViewMatrices m = framed_view(box, 800, 600, true);
    const LayerPlacement placement;
    const auto pick_at = [&](const ScenePoint& p, double dx = 0) {
        const auto at = project_point(m, p);
        return pick_mark(data, 0, placement, m, 10, at[0] + dx, m.height - at[1]).mark;
    };
    EXPECT_EQ(pick_at({1000, 0, 1000}), 1);
    EXPECT_EQ(pick_at({500, 500, 500}, 3), 2);
    EXPECT_EQ(pick_at({500, 500, 500}, 40), -1);
    EXPECT_EQ(pick_at({0, 0, 0}), 0);  // the nearer of the two
    data.mark_styles[0].visible = 0;
    EXPECT_EQ(pick_at({0, 0, 0}), 3);
    EXPECT_EQ(pick_at({LOST_VALUE, 0, 0}), -1);
}

TEST(FrameTime, ShowsTheFilesFrameNumbersAndReadsFramesOrTimes) {
    CaptureData data = capture_of({{0, 0, 0}});
    data.num_frames = 500;
    data.first_frame = 273;
    data.capture_rate = 100;
    EXPECT_EQ(frame_time_text(data, 0), "273  0.00 s");
    EXPECT_EQ(frame_time_text(data, 150), "423  1.50 s");
    EXPECT_EQ(time_decimals(1000), 3);
    EXPECT_EQ(time_decimals(60), 2);
    const struct {
        const char* text;
        int index;  // -1: refused
    } cases[] = {{"273", 0}, {" 300 ", 27}, {"1.5", 150}, {"2 s", 200}, {"0.004s", 0}, {"100", 0},
                 {"99999", 499}, {"", -1}, {"abc", -1}, {"12x", -1}, {"nan", -1}};
    for (const auto& c : cases) {
        int index = -1;
        const bool read = parse_go_to(c.text, data, index);
        EXPECT_EQ(read, c.index >= 0) << c.text;
        if (read) {
            EXPECT_EQ(index, c.index) << c.text;
        }
    }
}

TEST(Picking, FindsTheMarkInWhicheverLayerItIsDrawn) {
    // Layer 2 is moved 500 along x and starts 1 frame later: its mark 0 at frame 1 is drawn at
    // (500, 0, 500); layer 1's only mark stands at (0, 0, 0).
    CaptureData first = capture_of({{0, 0, 0}});
    CaptureData second = capture_of({{LOST_VALUE, 0, 0}});
    second.num_frames = 2;
    second.channels[0].samples = std::shared_ptr<Sample[]>(new Sample[2]{{LOST_VALUE, 0, 0}, {0, 0, 500}});
    LayerPlacement moved;
    moved.offset_x = 500;
    const std::vector<DrawnLayer> layers{{&first, LayerPlacement{}, 0, 1}, {&second, moved, 1, 2}};
    const ViewMatrices m = framed_view({0, 1000, 0, 800, 0, 1000}, 800, 600, true);
    const auto pick_at = [&](const ScenePoint& p) {
        const auto at = project_point(m, p);
        const LayerPick pick = pick_mark_in_layers(layers, m, 10, at[0], m.height - at[1]);
        return std::make_pair(pick.slot, pick.mark);
    };
    EXPECT_EQ(pick_at({500, 0, 500}), std::make_pair(2, 0));
    EXPECT_EQ(pick_at({0, 0, 0}), std::make_pair(1, 0));
    EXPECT_EQ(pick_at({0, 0, 500}), std::make_pair(0, -1));  // where layer 2's mark would be unmoved
}
