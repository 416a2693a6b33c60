// Recording a command in its layer's history. A command opens an UndoStep, keeps what it may
// change before it writes (a generous range is fine), and when the step ends only what really
// changed is stored:
//     UndoStep step(app, "Smooth");
//     step.keep(mark, first, last);
//     ... the command writes ...
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/history/history_step.h"
#include "engine/model/capture_model.h"

class UndoHistory;

// Whether a command is being recorded: undo and redo wait until it is over, or they would
// change what it is writing.
bool step_recording();

class UndoStep {
public:
    UndoStep(CaptureData& data, std::string name);
    // Stores the step, trimmed to what changed; a step that changed nothing is not stored.
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

    // Frames first..last of mark `mark`, clipped to the capture; keeping a frame twice keeps its
    // first value.
    void keep(int mark, int first, int last);
    void keep_marks(const std::vector<int>& marks, int first, int last);
    void keep_all();
    void keep_skeleton();
    void keep_names();
    void keep_events();

private:
    struct Kept {
        int mark;
        int first;
        std::vector<Sample> samples;
        std::vector<SampleOrigin> origins;
        std::vector<float> residuals;
    };
    void finish();
    CaptureData* owner() const;

    CaptureData& data_;
    std::string name_;
    // A step opened while another is open for the same layer adds to that one, its target.
    UndoStep* target_ = this;
    UndoStep* enclosing_ = nullptr;  // the step open when this one opened
    std::shared_ptr<UndoHistory> history_;
    std::vector<Kept> kept_;
    std::optional<SkeletonState> skeleton_before_;
    std::optional<std::vector<SharedText>> names_before_;
    std::optional<std::vector<GaitEvent>> events_before_;
    int error_count_before_;
};
