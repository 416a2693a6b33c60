// Loading and saving the skeleton of the working copy: round trips, refusals that leave the
// model alone, the binding to the opened file, safe saves, and the real skeleton of evart.idf.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "engine/formats/capture_io.h"
#include "engine/model/capture_model.h"
#include "engine/skeleton/skeleton_file.h"
#include "support/test_support.h"

namespace {

const char* const CHANNELS_MESSAGE = "The Skeleton file is invalid. \n There is a different number of channels";

// A working copy of `marks` marks without samples: all a skeleton needs.
void set_marks(int marks) {
    app.set_columns(3 * marks);
    reset_mark_styles(app);
}

void expect_same_skeleton(const CaptureData& expected) {
    ASSERT_EQ(app.bone_count, expected.bone_count);
    ASSERT_EQ(app.mark_styles.size(), expected.mark_styles.size());
    for (size_t m = 0; m < expected.mark_styles.size(); ++m) {
        EXPECT_EQ(app.mark_styles[m].colour, expected.mark_styles[m].colour) << "mark " << m;
        EXPECT_EQ(app.mark_styles[m].visible, expected.mark_styles[m].visible) << "mark " << m;
    }
    for (int b = 0; b < expected.bone_count; ++b) {
        EXPECT_EQ(app.bones[b].colour, expected.bones[b].colour) << "bone " << b;
        EXPECT_EQ(app.bones[b].origin, expected.bones[b].origin) << "bone " << b;
        EXPECT_EQ(app.bones[b].destination, expected.bones[b].destination) << "bone " << b;
    }
}

std::string mark_lines(int marks, const char* line) {
    std::string text;
    for (int m = 0; m < marks; ++m) text += line;
    return text;
}

bool folder_is_empty(const std::string& dir) { return std::filesystem::is_empty(dir); }

}  // namespace

TEST(SkeletonFile, SaveThenLoadGivesBackTheSameStylesAndBonesInOrder) {
    Recorder recorder;
    TempDir dir;
    set_marks(6);
    for (int m = 0; m < 6; ++m) app.mark_styles[m] = {(m * 4) % 15, m % 2};
    const Bone bones[] = {{3, 0, 1}, {7, 5, 2}, {11, 2, 4}, {0, 1, 5}};
    for (const Bone& bone : bones) app.bones[app.bone_count++] = bone;
    const CaptureData saved = app;
    const std::string path = dir.path("six.bon");
    const Status written = skeleton_write_file(app, path);
    ASSERT_TRUE(written.ok()) << written.message();
    EXPECT_EQ(recorder.statuses,
              (std::vector<std::string>{" Saving Skeleton File... ", " Skeleton File has been saved"}));

    skeleton_reset();
    EXPECT_EQ(app.bone_count, 0);
    for (const MarkStyle& style : app.mark_styles) EXPECT_TRUE(style.colour == 13 && style.visible == 1);

    ASSERT_EQ(skeleton_load(path), 0);
    expect_same_skeleton(saved);
    EXPECT_EQ(recorder.statuses.back(), " Skeleton file has been opened.");
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_TRUE(app.skeleton_file.empty()) << "loading alone binds no file";
}

TEST(SkeletonFile, ARefusedFileLeavesTheWholeSkeletonAsItWas) {
    Recorder recorder;
    TempDir dir;
    set_marks(21);
    app.mark_styles[0] = {6, 0};
    app.bones[0] = {8, 0, 1};
    app.bone_count = 1;
    const CaptureData before = app;

    const std::string twenty = dir.path("twenty.bon");
    write_file(twenty, "20\t0\n" + mark_lines(20, "2\t1\n"));
    EXPECT_EQ(skeleton_load(twenty), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, CHANNELS_MESSAGE);
    EXPECT_EQ(recorder.messages[0].type, 3);
    EXPECT_EQ(recorder.messages[0].buttons, 2);
    expect_same_skeleton(before);

    // Every mark line is good and so is the first bone: none of it may be taken.
    const std::string late_fault = dir.path("late.bon");
    write_file(late_fault, "21\t2\n" + mark_lines(21, "2\t1\n") + "3\t4\t5\n4\t5\t15\n");
    EXPECT_EQ(skeleton_load(late_fault), 1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[1].text,
              "The Skeleton file is invalid. \n Line 24: bone 1 has the colour 15; the colours are 0 to 14");
    expect_same_skeleton(before);
    // The status bar tells what happened, never that the file was opened.
    EXPECT_EQ(recorder.statuses, std::vector<std::string>({"The Skeleton file is invalid. ", "The Skeleton file is invalid. "}));
}

TEST(SkeletonFile, AFileThatCannotBeReadFailsWithoutAMessage) {
    Recorder recorder;
    TempDir dir;
    set_marks(2);
    app.bone_count = 0;
    EXPECT_EQ(skeleton_load(dir.path("missing.bon")), 1);
    EXPECT_EQ(skeleton_open(app, dir.path("missing.bon")), 1);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_TRUE(app.skeleton_file.empty());
    // A folder is no file to read, and says so.
    EXPECT_EQ(skeleton_load(dir.dir), 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error opening file:\n " + dir.dir + "\n not a regular file");
}

TEST(SkeletonFile, SaveAsLeavesTheLayerBoundToTheFileItOpened) {
    Recorder recorder;
    TempDir dir;
    set_marks(3);
    skeleton_save_bound(app);
    EXPECT_TRUE(recorder.statuses.empty()) << "plain save without an opened skeleton wrote something";
    EXPECT_TRUE(folder_is_empty(dir.dir));

    const std::string opened = dir.path("opened.bon");
    const std::string copy = dir.path("copy.bon");
    write_file(opened, "3\t1\n0\t1\n13\t1\n14\t0\n0\t1\t12\n");
    ASSERT_EQ(skeleton_open(app, opened), 0);
    EXPECT_EQ(app.skeleton_file, opened);
    ASSERT_EQ(skeleton_save_as(app, copy), 0);
    EXPECT_EQ(read_file(copy), read_file(opened));
    EXPECT_EQ(app.skeleton_file, opened);

    app.bones[app.bone_count++] = {4, 1, 2};
    skeleton_save_bound(app);
    EXPECT_EQ(read_file(opened), "3\t2\n0\t1\n13\t1\n14\t0\n0\t1\t12\n1\t2\t4\n");
    EXPECT_EQ(read_file(copy), "3\t1\n0\t1\n13\t1\n14\t0\n0\t1\t12\n");
}

TEST(SkeletonFile, AFailedSaveSaysWhyAndLeavesNothingHalfWritten) {
    Recorder recorder;
    TempDir dir;
    set_marks(2);
    EXPECT_EQ(skeleton_save_as(app, dir.dir), 1);
    const std::string nowhere = dir.path("missing/skeleton.bon");
    EXPECT_EQ(skeleton_save_as(app, nowhere), 1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error saving file:\n " + dir.dir + "\n ", 0), 0u)
        << recorder.messages[0].text;
    EXPECT_EQ(recorder.messages[1].text.rfind("Error saving file:\n " + nowhere + "\n ", 0), 0u)
        << recorder.messages[1].text;
    EXPECT_EQ(recorder.messages[1].type, 3);
    // The plain save says why too: a save that fails without a word would pass for a success.
    app.skeleton_file = nowhere;
    skeleton_save_bound(app);
    ASSERT_EQ(recorder.messages.size(), 3u);
    EXPECT_EQ(recorder.messages[2].text.rfind("Error saving file:\n " + nowhere + "\n ", 0), 0u);
    EXPECT_TRUE(folder_is_empty(dir.dir));

    // The disk fills up half-way through a long skeleton: the old file stays as it was.
    const std::string target = dir.path("kept.bon");
    write_file(target, "2\t0\n13\t1\n13\t1\n");
    for (int b = 0; b < MAX_BONES; ++b) app.bones[b] = {b % 15, b % 2, 1 - b % 2};
    app.bone_count = MAX_BONES;
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256, 256};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(skeleton_save(target));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(read_file(target), "2\t0\n13\t1\n13\t1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir), std::filesystem::directory_iterator()), 1)
        << "the temporary file was left behind";
}

TEST(SkeletonFile, TheRealSkeletonLoadsOntoItsCaptureAndSavesByteForByte) {
    Recorder recorder;
    TempDir dir;
    ASSERT_EQ(idf_read(shared_data("evart.idf")), 0);
    ASSERT_EQ(skeleton_load(shared_data("evart.bon")), 0);
    ASSERT_EQ(app.bone_count, 25);
    // Left-side bones are colour 6, right-side 10, midline 11; the sacral mark VSAC sits on both sides.
    for (int b = 0; b < app.bone_count; ++b) {
        const Bone& bone = app.bones[b];
        const std::string ends[] = {app.channels[bone.origin].name_text(), app.channels[bone.destination].name_text()};
        if (bone.colour == 11) {
            EXPECT_NE(ends[0][0], ends[1][0]) << "midline bone " << b << " joins one side";
            continue;
        }
        ASSERT_TRUE(bone.colour == 6 || bone.colour == 10) << "bone " << b;
        const char side = bone.colour == 6 ? 'L' : 'R';
        for (const std::string& end : ends) EXPECT_TRUE(end[0] == side || end == "VSAC") << "bone " << b << " " << end;
    }
    const std::string copy = dir.path("evart.bon");
    ASSERT_EQ(skeleton_save(copy), 0);
    EXPECT_EQ(read_file(copy), read_file(shared_data("evart.bon")));
    // The bundled sample is that skeleton.
    EXPECT_EQ(read_file(build_path("samples/evart.bon")), read_file(shared_data("evart.bon")));

    ASSERT_EQ(idf_read(shared_data("gait-raw.idf")), 0);
    EXPECT_EQ(skeleton_load(shared_data("evart.bon")), 1);
    ASSERT_FALSE(recorder.messages.empty());
    EXPECT_EQ(recorder.messages.back().text, CHANNELS_MESSAGE);
    EXPECT_EQ(app.bone_count, 0);
}
