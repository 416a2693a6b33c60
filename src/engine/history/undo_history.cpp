// Keeping, undoing and redoing a layer's steps, and following which of them the saved file holds.
#include "engine/history/undo_history.h"

#include <algorithm>
#include <utility>

#include "engine/history/undo_step.h"
#include "engine/model/seams.h"

namespace {

void (*history_listener)() = nullptr;

}  // namespace

bool UndoHistory::changed_since(long saved, bool (HistoryStep::*changes)() const) const {
    if (saved == UNREACHABLE || saved < dropped_ || saved > dropped_ + static_cast<long>(steps_.size())) return true;
    const long from = std::min(saved, position()) - dropped_;
    const long to = std::max(saved, position()) - dropped_;
    for (long i = from; i < to; ++i) {
        if ((steps_[static_cast<size_t>(i)].*changes)()) return true;
    }
    return false;
}

void UndoHistory::take_saved_marks(const CaptureData& data) {
    if (!data.samples_changed) {
        capture_saved_ = position();
    } else if (!changed_since(capture_saved_, &HistoryStep::changes_capture)) {
        capture_saved_ = UNREACHABLE;
    }
    if (!data.skeleton_changed) {
        skeleton_saved_ = position();
    } else if (!changed_since(skeleton_saved_, &HistoryStep::changes_skeleton)) {
        skeleton_saved_ = UNREACHABLE;
    }
}

void UndoHistory::set_unsaved_marks(CaptureData& data) const {
    data.samples_changed = changed_since(capture_saved_, &HistoryStep::changes_capture);
    // Edited events are saved with the capture, so they are unsaved exactly when the capture is.
    data.events_changed = data.events_changed && data.samples_changed;
    data.skeleton_changed = changed_since(skeleton_saved_, &HistoryStep::changes_skeleton);
}

void UndoHistory::drop_over_budget() {
    while (bytes_ > budget && done_ > 1) {
        bytes_ -= steps_.front().bytes();
        steps_.pop_front();
        --done_;
        ++dropped_;
    }
}

void UndoHistory::record(HistoryStep step, CaptureData& data) {
    // What was undone is given up; a saved state among it can no longer be reached.
    while (steps_.size() > done_) {
        bytes_ -= steps_.back().bytes();
        steps_.pop_back();
    }
    if (capture_saved_ > position()) capture_saved_ = UNREACHABLE;
    if (skeleton_saved_ > position()) skeleton_saved_ = UNREACHABLE;
    bytes_ += step.bytes();
    steps_.push_back(std::move(step));
    ++done_;
    drop_over_budget();
    take_saved_marks(data);
}

const HistoryStep* UndoHistory::undo(CaptureData& data) {
    if (done_ == 0) return nullptr;
    take_saved_marks(data);
    HistoryStep& step = steps_[--done_];
    exchange_step(step, data);
    set_unsaved_marks(data);
    return &step;
}

const HistoryStep* UndoHistory::redo(CaptureData& data) {
    if (done_ == steps_.size()) return nullptr;
    take_saved_marks(data);
    HistoryStep& step = steps_[done_++];
    exchange_step(step, data);
    set_unsaved_marks(data);
    return &step;
}

const std::string* UndoHistory::next_undo() const { return done_ > 0 ? &steps_[done_ - 1].name : nullptr; }

const std::string* UndoHistory::next_redo() const { return done_ < steps_.size() ? &steps_[done_].name : nullptr; }

UndoHistory& history_of(CaptureData& data) {
    if (!data.history) {
        data.history = std::make_shared<UndoHistory>();
        const bool working_copy = &data == static_cast<CaptureData*>(&app);
        if (working_copy && app.current_layer >= 1 && app.current_layer <= MAX_LAYERS) {
            app.layers[app.current_layer].history = data.history;
        }
    }
    return *data.history;
}

static const HistoryStep* step_back_or_forth(CaptureData& data, bool back) {
    if (!data.history || step_recording()) return nullptr;
    const HistoryStep* step = back ? data.history->undo(data) : data.history->redo(data);
    if (!step) return nullptr;
    history_append((back ? "Undone: " : "Redone: ") + step->name + "\n");
    tell_history_listener();
    return step;
}

const HistoryStep* undo_last(CaptureData& data) { return step_back_or_forth(data, true); }

const HistoryStep* redo_next(CaptureData& data) { return step_back_or_forth(data, false); }

void set_history_listener(void (*listener)()) { history_listener = listener; }

void tell_history_listener() {
    if (history_listener) history_listener();
}
