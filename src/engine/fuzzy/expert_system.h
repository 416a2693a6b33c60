// The expert-system run: every fuzzy system of a rules file over every mark, frame and axis of
// the current layer, reporting lost marks, erroneous stretches of a trajectory or trajectories
// that need smoothing, and in repair mode repairing what it finds.
#pragma once

#include <functional>
#include <string>

#include "engine/model/capture_model.h"
#include "engine/scene/camera.h"

// Where the run writes and what it asks while it goes.
struct DiagnosisReport {
    std::function<void(const std::string& text)> rules_append;    // header and progress of each system
    std::function<void(const std::string& text)> actions_append;  // header and findings of each system
    std::function<bool()> repair_mode;                            // asked at each finding
    std::function<void()> process_events;                         // after each system's header
};

// How the run finds the window bounds of the inputs: once per frame and mark as the window
// slides (the run's own way), or afresh for every inference (the way to compare it with).
enum class BoundsMethod { sliding, every_inference };

enum RunResult { RUN_DONE = 0, RUN_NOT_STARTED = 1, RUN_STOPPED = 2 };

// The diagnosis the name of a system selects.
enum class Diagnosis { lost_marks, erroneous_trajectories, smooth_trajectories, none };
Diagnosis diagnosis_of(const char* system_name);

// Runs the rules file at `path` on `data`, the "Losed Marks" system judging positions within
// `view_bounds`. RUN_NOT_STARTED after a document error (its message shown, nothing written);
// RUN_STOPPED when the capture was replaced or closed while the run let the interface work (the
// rest of the run is dropped). Without the capture and bounds, on the working copy with the 3-D
// view's bounds.
RunResult expert_system_run(CaptureData& data, const ViewBounds& view_bounds, const std::string& path,
                            const DiagnosisReport& report, BoundsMethod method = BoundsMethod::sliding);
RunResult expert_system_run(const std::string& path, const DiagnosisReport& report,
                            BoundsMethod method = BoundsMethod::sliding);
