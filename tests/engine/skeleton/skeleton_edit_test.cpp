// Skeleton edits on the working copy: the three refusals of the bone check, edits that may turn
// a bone around, deletion that keeps the order, and the full bone table.
#include <gtest/gtest.h>

#include "engine/model/capture_model.h"
#include "engine/skeleton/skeleton_edit.h"
#include "support/test_support.h"

namespace {

struct SkeletonEdit : ::testing::Test {
    Recorder recorder;

    void SetUp() override {
        app.set_columns(3 * 10);
        reset_mark_styles(app);
    }

    void add(int origin, int destination, int colour = 0) {
        app.bones[app.bone_count++] = {colour, origin, destination};
    }

    std::string last_message() const { return recorder.messages.empty() ? "" : recorder.messages.back().text; }
};

}  // namespace

TEST_F(SkeletonEdit, InsertingRefusesOneMarkTwiceTheSameBoneAndItsInverse) {
    add(2, 5);
    EXPECT_EQ(skeleton_insert_bone(app, 4, 4, 1), 1);
    EXPECT_EQ(last_message(), "Select distinct origin and destination channels");
    EXPECT_EQ(skeleton_insert_bone(app, 2, 5, 1), 1);
    EXPECT_EQ(last_message(), "This bone has been inserted previously");
    EXPECT_EQ(skeleton_insert_bone(app, 5, 2, 1), 1);
    EXPECT_EQ(last_message(), "This bone (inverted) has been inserted previously");
    ASSERT_EQ(recorder.messages.size(), 3u);
    for (const auto& message : recorder.messages) EXPECT_TRUE(message.type == 3 && message.buttons == 2);
    EXPECT_EQ(app.bone_count, 1);

    EXPECT_EQ(skeleton_insert_bone(app, 5, 7, 9), 0);
    ASSERT_EQ(app.bone_count, 2);
    EXPECT_EQ(app.bones[1].origin, 5);
    EXPECT_EQ(app.bones[1].destination, 7);
    EXPECT_EQ(app.bones[1].colour, 9);
    EXPECT_EQ(recorder.messages.size(), 3u);
}

TEST_F(SkeletonEdit, AnEditedBoneIsNotComparedWithItself) {
    add(2, 5, 3);
    add(7, 3, 4);
    EXPECT_EQ(skeleton_change_bone(app, 0, 5, 2, 8), 0);
    EXPECT_EQ(app.bones[0].origin, 5);
    EXPECT_EQ(app.bones[0].destination, 2);
    EXPECT_EQ(app.bones[0].colour, 8);
    EXPECT_TRUE(recorder.messages.empty());

    EXPECT_EQ(skeleton_change_bone(app, 0, 3, 7, 1), 1);
    EXPECT_EQ(last_message(), "This bone (inverted) has been inserted previously");
    EXPECT_EQ(app.bones[0].origin, 5);
    EXPECT_EQ(app.bones[0].colour, 8);
    EXPECT_EQ(skeleton_change_bone(app, 1, 3, 3, 1), 1);
    EXPECT_EQ(last_message(), "Select distinct origin and destination channels");
    EXPECT_TRUE(skeleton_check_bone(7, 3, 1));
    EXPECT_FALSE(skeleton_check_bone(7, 3));
}

TEST_F(SkeletonEdit, DeletingTheMiddleBoneKeepsTheOthersInOrder) {
    add(0, 1, 1);
    add(1, 2, 2);
    add(2, 3, 3);
    skeleton_delete_bone(1);
    ASSERT_EQ(app.bone_count, 2);
    EXPECT_EQ(app.bones[0].colour, 1);
    EXPECT_EQ(app.bones[1].colour, 3);
    EXPECT_EQ(app.bones[1].origin, 2);
    skeleton_delete_bone(1);
    skeleton_delete_bone(0);
    EXPECT_EQ(app.bone_count, 0);
    // With every pair free again, the first bone can be inserted anew.
    EXPECT_EQ(skeleton_insert_bone(app, 1, 0, 1), 0);
}

TEST_F(SkeletonEdit, AFullBoneTableRefusesTheNextInsertion) {
    while (app.bone_count < MAX_BONES) add(0, 1);
    EXPECT_EQ(skeleton_insert_bone(app, 8, 9, 0), 1);
    EXPECT_EQ(last_message(), "The skeleton is full: a layer holds at most 300 bones");
    EXPECT_EQ(app.bone_count, MAX_BONES);
    skeleton_delete_bone(0);
    EXPECT_EQ(skeleton_insert_bone(app, 8, 9, 0), 0);
    EXPECT_EQ(app.bones[MAX_BONES - 1].origin, 8);
}
