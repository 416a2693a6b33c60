// BON text in memory: the bytes the writer produces, the separators the reader accepts, and the
// message that names the line and the fault of every file the reader refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/skeleton/bon_format.h"

namespace {

std::string written(const CaptureData& data) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    EXPECT_TRUE(bon_write_stream(data, out));
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// Three marks: 0 "Rojo Oscuro" visible, 1 "Gris" visible, 2 "Negro" hidden; a "Blanco" bone 0 -> 1.
CaptureData three_marks_one_bone() {
    CaptureData data;
    data.set_columns(9);
    data.mark_styles[0] = {0, 1};
    data.mark_styles[1] = {13, 1};
    data.mark_styles[2] = {14, 0};
    data.bone_count = 1;
    data.bones[0] = {12, 0, 1};
    return data;
}

const std::string three_marks_text = "3\t1\n0\t1\n13\t1\n14\t0\n0\t1\t12\n";

std::string parse_error(const std::string& text, int marks) {
    Skeleton skeleton;
    std::string error;
    EXPECT_EQ(bon_parse(text, marks, skeleton, error), 1) << text;
    return error;
}

}  // namespace

TEST(BonWrite, WritesTheHeaderThenOneLinePerMarkAndPerBone) {
    EXPECT_EQ(written(three_marks_one_bone()), three_marks_text);
    CaptureData two;
    two.set_columns(6);
    reset_mark_styles(two);
    EXPECT_EQ(written(two), "2\t0\n13\t1\n13\t1\n");
}

TEST(BonParse, AnyRunOfBlanksTabsAndLineEndsSeparatesTheNumbers) {
    for (const std::string& text : {three_marks_text, std::string("3 1\n0 1\n13 1\n14 0\n0 1 12\n"),
                                    std::string("3\t1\r\n0\t1\r\n13\t1\r\n14\t0\r\n0\t1\t12\r\n"),
                                    std::string("  3   1 0\n\n1 13 1 14 0 0 1 12")}) {
        Skeleton skeleton;
        std::string error;
        ASSERT_EQ(bon_parse(text, 3, skeleton, error), 0) << error;
        EXPECT_EQ(skeleton.mark_count, 3);
        EXPECT_EQ(skeleton.mark_styles[0].colour, 0);
        EXPECT_EQ(skeleton.mark_styles[1].colour, 13);
        EXPECT_EQ(skeleton.mark_styles[2].colour, 14);
        EXPECT_EQ(skeleton.mark_styles[2].visible, 0);
        ASSERT_EQ(skeleton.bone_count, 1);
        EXPECT_EQ(skeleton.bones[0].origin, 0);
        EXPECT_EQ(skeleton.bones[0].destination, 1);
        EXPECT_EQ(skeleton.bones[0].colour, 12);
    }
}

TEST(BonParse, AnyNonZeroFlagIsVisibleAndTextAfterTheLastBoneIsIgnored) {
    Skeleton skeleton;
    std::string error;
    ASSERT_EQ(bon_parse("2\t0\n5\t2\n6\t-1\nremarks\n", 2, skeleton, error), 0) << error;
    EXPECT_EQ(skeleton.mark_styles[0].visible, 1);
    EXPECT_EQ(skeleton.mark_styles[1].visible, 1);
}

TEST(BonParse, AFileForAnotherNumberOfMarksIsRefusedWithTheChannelsMessage) {
    std::string twenty = "20\t0\n";
    for (int m = 0; m < 20; ++m) twenty += "13\t1\n";
    EXPECT_EQ(parse_error(twenty, 21), "The Skeleton file is invalid. \n There is a different number of channels");
    EXPECT_EQ(parse_error(three_marks_text, 2),
              "The Skeleton file is invalid. \n There is a different number of channels");
}

TEST(BonParse, RefusesWhatCannotBeDrawnNamingTheLineAndTheFault) {
    const std::string invalid = "The Skeleton file is invalid. \n ";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "Line 1: the numbers of marks and bones are missing"},
        {"3", "Line 1: the number of bones is missing"},
        {"3\t301\n", "Line 1: the skeleton has 301 bones; a layer holds 0 to 300"},
        {"3\t-1\n", "Line 1: the skeleton has -1 bones; a layer holds 0 to 300"},
        {"3\t0\n0\t1\n15\t1\n", "Line 3: mark 1 has the colour 15; the colours are 0 to 14"},
        {"3\t0\n-1\t1\n", "Line 2: mark 0 has the colour -1; the colours are 0 to 14"},
        {"3\t0\n0\t1\n99999999999999999999\t1\n",
         "Line 3: mark 1 has the colour 99999999999999999999; the colours are 0 to 14"},
        {"3\t1\n0\t1\n13\t1\n",
         "Line 4: the file ends before the end of mark 2; the header announces 3 marks and 1 bone"},
        {"3\t2\n0\t1\n13\t1\n14\t0\n0\t1\t12\n",
         "Line 6: the file ends before the end of bone 1; the header announces 3 marks and 2 bones"},
        {"3\t1\n0\t1\n13\t1\n14\t0\n0\t1",
         "Line 5: the file ends before the end of bone 0; the header announces 3 marks and 1 bone"},
        {"3\t1\n0\t1\n13\t1\n14\t0\n0\t3\t12\n", "Line 5: bone 0 joins mark 3; the layer's marks are 0 to 2"},
        {"3\t1\n0\t1\n13\t1\n14\t0\n-1\t0\t12\n", "Line 5: bone 0 joins mark -1; the layer's marks are 0 to 2"},
        {"3\t1\n0\t1\n13\t1\n14\t0\n0\t1\t15\n", "Line 5: bone 0 has the colour 15; the colours are 0 to 14"},
        {"3\t0\n0\t1\nabc\t1\n", "Line 3: \"abc\" is not a number"},
        {"3\t0\n0\t1\n13\t1\n14\t1x\n", "Line 4: \"1x\" is not a number"},
        {"3\t0\n0\t1.5\n", "Line 2: \"1.5\" is not a number"},
        {"three\t0\n", "Line 1: \"three\" is not a number"},
        {"3\t0\n0\t1\n13\t\x01\xff\n", "Line 3: \"??\" is not a number"},
        {"3\t0\n-\t1\n", "Line 2: \"-\" is not a number"},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_error(c.text, 3), invalid + c.message) << c.text;
    EXPECT_EQ(parse_error("0\t1\n0\t0\t0\n", 0), invalid + "Line 2: bone 0 joins mark 0; the layer has no marks");
}

TEST(BonParse, ThreeHundredBonesFitAndEveryBoneKeepsItsPlace) {
    std::string text = "2\t300\n1\t1\n2\t0\n";
    for (int b = 0; b < 300; ++b)
        text += std::to_string(b % 2) + "\t" + std::to_string(1 - b % 2) + "\t" + std::to_string(b % 15) + "\n";
    Skeleton skeleton;
    std::string error;
    ASSERT_EQ(bon_parse(text, 2, skeleton, error), 0) << error;
    ASSERT_EQ(skeleton.bone_count, 300);
    for (int b = 0; b < 300; ++b) {
        EXPECT_EQ(skeleton.bones[b].origin, b % 2);
        EXPECT_EQ(skeleton.bones[b].colour, b % 15);
    }
}
