// The choices the scene drawing makes: the frame shown, the trail, the arrows, playback order.
#include <gtest/gtest.h>

#include "engine/scene/playback.h"
#include "engine/scene/scene_math.h"

TEST(SceneMath, FrameShownAddsTheInitialFrameAndIsClamped) {
    EXPECT_EQ(frame_to_draw(0, 10, 100), 10);
    EXPECT_EQ(frame_to_draw(95, 10, 100), 99);
    EXPECT_EQ(frame_to_draw(3, -10, 100), 0);
    EXPECT_EQ(frame_to_draw(0, 0, 1), 0);
}

TEST(SceneMath, TrailCopiesFadeInTowardsTheFrameShown) {
    std::vector<TrailCopy> trail;
    trail_copies(5, 12, 1.2, trail);
    ASSERT_EQ(trail.size(), 3u);
    EXPECT_EQ(trail[0].frame, 0);
    EXPECT_EQ(trail[1].frame, 5);
    EXPECT_EQ(trail[2].frame, 10);
    EXPECT_EQ(trail[0].alpha, 0);
    EXPECT_EQ(trail[1].alpha, 41);
    EXPECT_EQ(trail[2].alpha, 83);
    EXPECT_DOUBLE_EQ(trail[2].radius, 10.0 / 12 * 1.2);
    trail_copies(0, 12, 1.0, trail);
    EXPECT_TRUE(trail.empty());
    trail_copies(3, 0, 1.0, trail);
    EXPECT_TRUE(trail.empty());
}

TEST(SceneMath, ArrowsNeedTheirNeighbouringFrames) {
    EXPECT_FALSE(velocity_arrow_drawn(0, 10));
    EXPECT_FALSE(acceleration_arrow_drawn(0, 10));
    EXPECT_TRUE(velocity_arrow_drawn(1, 10));
    EXPECT_FALSE(acceleration_arrow_drawn(1, 10));
    EXPECT_TRUE(acceleration_arrow_drawn(7, 10));
    EXPECT_TRUE(velocity_arrow_drawn(8, 10));
    EXPECT_FALSE(acceleration_arrow_drawn(8, 10));
    EXPECT_FALSE(velocity_arrow_drawn(9, 10));
}

TEST(SceneMath, PositionsLossAndSegments) {
    const ViewTransform t{10, 0, -5, 0, 1, 1.0f};
    const ScenePoint p = scene_position({1, 2, 3}, t);
    EXPECT_DOUBLE_EQ(p.x, 12);
    EXPECT_DOUBLE_EQ(p.y, 4);
    EXPECT_DOUBLE_EQ(p.z, 1);
    EXPECT_TRUE(scene_point_lost(scene_position({LOST_VALUE, 0, 0}, t), t));
    const ViewTransform doubled{0, 0, 0, 0, 1, 1.0f};
    EXPECT_FALSE(scene_point_lost(scene_position({999997.0, 0, 0}, doubled), doubled));
    EXPECT_TRUE(scene_point_lost(scene_position({999998.0, 0, 0}, doubled), doubled));
    EXPECT_EQ(layer_alpha(0.4), 102);
    EXPECT_EQ(layer_alpha(1.0), 255);
    const SegmentFrame up = segment_frame({0, 0, 0}, {0, 0, 5});
    EXPECT_DOUBLE_EQ(up.length, 5);
    EXPECT_NEAR(up.angle_degrees, 0, 1e-9);
    const SegmentFrame side = segment_frame({1, 1, 1}, {1, 4, 1});
    EXPECT_NEAR(side.angle_degrees, 90, 1e-3);
    EXPECT_DOUBLE_EQ(side.axis_x, -3);
    EXPECT_DOUBLE_EQ(side.axis_y, 0);
}

TEST(SceneMath, BonesNeedBothMarksVisibleAndInTheLayer) {
    CaptureData data;
    data.set_columns(9);
    reset_mark_styles(data);
    EXPECT_TRUE(bone_drawable(data, {1, 0, 2}));
    data.mark_styles[2].visible = 0;
    EXPECT_FALSE(bone_drawable(data, {1, 0, 2}));
    EXPECT_FALSE(bone_drawable(data, {1, 0, 3}));
    EXPECT_FALSE(bone_drawable(data, {1, -1, 0}));
}

static std::vector<int> play(int start, int frames, int speed, int steps) {
    std::vector<int> shown{first_playback_frame(start, frames)};
    while (static_cast<int>(shown.size()) < steps) shown.push_back(next_playback_frame(shown.back(), frames, speed));
    return shown;
}

TEST(Playback, SpeedSkipsFramesAndTheEndStartsOver) {
    EXPECT_EQ(play(0, 100, 2, 4), (std::vector<int>{1, 4, 7, 10}));
    EXPECT_EQ(next_playback_frame(0, 100, 2), 3);
    EXPECT_EQ(next_playback_frame(3, 100, 2), 6);
    EXPECT_EQ(play(0, 10, 4, 7), (std::vector<int>{1, 6, 9, 0, 5, 9, 0}));
    EXPECT_EQ(play(0, 10, 0, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(next_playback_frame(4, 10, -5), 5);
    EXPECT_EQ(first_playback_frame(9, 10), 0);
    EXPECT_EQ(next_playback_frame(0, 1, 3), 0);  // a one-frame capture stays still
    EXPECT_EQ(first_playback_frame(0, 1), 0);
}
