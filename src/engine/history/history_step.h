// One step of a layer's history: what a command changed, held as the values of the other side
// (before the command while it is done, after it while it is undone), so that undo and redo are
// the same exchange.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/formats/c3d/c3d_trial.h"
#include "engine/model/capture_model.h"

// A stretch of frames of one mark whose samples, origins or residuals the command changed.
struct SampleRun {
    int mark = 0;
    int first = 0;  // the frame of samples[0]
    std::vector<Sample> samples;
    std::vector<SampleOrigin> origins;
    std::vector<float> residuals;  // empty when the mark holds none
};

// The skeleton as a command may change it: bones, mark styles and the file it is bound to.
struct SkeletonState {
    int bone_count = 0;
    std::vector<Bone> bones;  // the first bone_count bones
    std::vector<MarkStyle> mark_styles;
    std::string skeleton_file;

    bool operator==(const SkeletonState& other) const;
};

SkeletonState skeleton_state_of(const CaptureData& data);

struct HistoryStep {
    std::string name;  // what the user did, as the Edit menu shows it
    std::vector<SampleRun> runs;
    std::optional<std::vector<SharedText>> names;
    std::optional<SkeletonState> skeleton;
    std::optional<std::vector<GaitEvent>> events;  // the gait events of a C3D layer
    int error_count = 0;

    bool changes_capture() const { return !runs.empty() || names.has_value() || events.has_value(); }
    bool changes_skeleton() const { return skeleton.has_value(); }
    // The memory the step holds, what the history's budget counts.
    size_t bytes() const;
};

// Swaps the step's values with the layer's: done once it undoes the command, once more it redoes it.
void exchange_step(HistoryStep& step, CaptureData& data);
