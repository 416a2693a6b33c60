// The history of one layer: the steps that can be undone and redone, kept within a memory
// budget, and which point of it the file (and the skeleton file) last saved.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "engine/history/history_step.h"

class UndoHistory {
public:
    // Steps are dropped, oldest first, while they hold more than this; the newest always stays.
    static constexpr size_t DEFAULT_BUDGET = size_t{1} << 30;
    size_t budget = DEFAULT_BUDGET;

    // Adds a step the command just made, after which what was undone can no longer be redone.
    void record(HistoryStep step, CaptureData& data);
    // The step undone or redone, exchanged with `data`; none when there is nothing to undo or redo.
    const HistoryStep* undo(CaptureData& data);
    const HistoryStep* redo(CaptureData& data);

    const std::string* next_undo() const;
    const std::string* next_redo() const;
    size_t undo_count() const { return done_; }
    size_t redo_count() const { return steps_.size() - done_; }
    size_t bytes() const { return bytes_; }

    // Takes in what the layer's unsaved marks say now: a mark clear means the state is the saved
    // one (a save or a load happened); a mark set where the history sees no change means a change
    // it did not record, which no undo can bring back to the saved state.
    void take_saved_marks(const CaptureData& data);

private:
    static constexpr long UNREACHABLE = -1;
    // Positions count every step ever recorded, so that dropping old ones moves none.
    long position() const { return dropped_ + static_cast<long>(done_); }
    bool changed_since(long saved, bool (HistoryStep::*changes)() const) const;
    void set_unsaved_marks(CaptureData& data) const;
    void drop_over_budget();

    std::deque<HistoryStep> steps_;
    size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
    long dropped_ = 0;
    size_t bytes_ = 0;
    long capture_saved_ = 0;
    long skeleton_saved_ = 0;
};

// The history of `data`, made on first use; made for the working copy, the current layer's slot
// shares it, so it follows the layer through layer switches.
UndoHistory& history_of(CaptureData& data);

// Undoes or redoes the last step of `data`'s history, saying "Undone: NAME" or "Redone: NAME" in
// the history log; none when there was nothing to do.
const HistoryStep* undo_last(CaptureData& data);
const HistoryStep* redo_next(CaptureData& data);

// The interface's hook, told after every step recorded, undone or redone.
void set_history_listener(void (*listener)());
void tell_history_listener();
