// The recorder of one command: it copies what the command may change before it writes, and at
// its end compares, keeping the old values of the stretches that changed.
#include "engine/history/undo_step.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/history/undo_history.h"

namespace {

// The innermost open step.
UndoStep* open_step = nullptr;

// Unchanged frames between two changed stretches up to this many are stored with them: a
// stretch costs more than a few samples.
constexpr int JOIN_FRAMES = 8;

bool same_sample(const Sample& a, const Sample& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool same_names(const std::vector<SharedText>& before, const std::vector<Channel>& channels) {
    if (before.size() != channels.size()) return false;
    for (size_t m = 0; m < before.size(); ++m) {
        const SharedText& now = channels[m].name;
        if (before[m] == now) continue;
        if (!before[m] || !now || *before[m] != *now) return false;
    }
    return true;
}

template <class T>
std::vector<T> slice(std::vector<T>& values, int from, int to, bool whole) {
    if (values.empty()) return {};
    if (whole) return std::move(values);
    return std::vector<T>(values.begin() + from, values.begin() + to);
}

}  // namespace

bool step_recording() { return open_step != nullptr; }

UndoStep::UndoStep(CaptureData& data, std::string name)
    : data_(data), name_(std::move(name)), error_count_before_(data.error_count) {
    UndoHistory& history = history_of(data);
    history_ = data.history;
    // The working copy may hold another layer than when an open step began: the layer counts.
    for (UndoStep* step = open_step; step; step = step->enclosing_) {
        if (&step->data_ == &data && step->history_ == history_) target_ = step;
    }
    if (target_ != this) return;
    enclosing_ = open_step;
    open_step = this;
    history.take_saved_marks(data);
}

UndoStep::~UndoStep() {
    if (target_ != this) return;  // an inner step of the same layer: the outer one stores
    open_step = enclosing_;
    finish();
}

void UndoStep::keep(int mark, int first, int last) {
    if (target_ != this) return target_->keep(mark, first, last);
    if (mark < 0 || mark >= data_.mark_count() || data_.channels[mark].empty()) return;
    first = std::max(first, 0);
    last = std::min(last, data_.num_frames - 1);
    // Only the frames not kept yet: the ones kept already may have been written since.
    std::vector<std::pair<int, int>> taken;
    for (const Kept& k : kept_) {
        if (k.mark == mark) taken.emplace_back(k.first, k.first + static_cast<int>(k.samples.size()) - 1);
    }
    std::sort(taken.begin(), taken.end());
    const Channel& channel = data_.channels[mark];
    const auto take = [&](int from, int to) {
        if (from > to) return;
        Kept k{mark, from, {}, {}, {}};
        k.samples.assign(channel.samples.get() + from, channel.samples.get() + to + 1);
        if (channel.origins) {
            k.origins.assign(channel.origins.get() + from, channel.origins.get() + to + 1);
        } else {
            k.origins.assign(static_cast<size_t>(to - from + 1), SampleOrigin::measured);
        }
        if (channel.residuals) k.residuals.assign(channel.residuals.get() + from, channel.residuals.get() + to + 1);
        kept_.push_back(std::move(k));
    };
    int next = first;
    for (const auto& [from, to] : taken) {
        if (to < next) continue;
        if (from > last) break;
        take(next, std::min(from - 1, last));
        next = to + 1;
    }
    take(next, last);
}

void UndoStep::keep_marks(const std::vector<int>& marks, int first, int last) {
    for (int mark : marks) keep(mark, first, last);
}

void UndoStep::keep_all() {
    for (int m = 0; m < data_.mark_count(); ++m) keep(m, 0, data_.num_frames - 1);
}

void UndoStep::keep_skeleton() {
    if (target_ != this) return target_->keep_skeleton();
    if (!skeleton_before_) skeleton_before_ = skeleton_state_of(data_);
}

void UndoStep::keep_events() {
    if (target_ != this) return target_->keep_events();
    if (!events_before_ && data_.trial) events_before_ = data_.trial->events;
}

void UndoStep::keep_names() {
    if (target_ != this) return target_->keep_names();
    if (names_before_) return;
    names_before_.emplace();
    for (const Channel& channel : data_.channels) names_before_->push_back(channel.name);
}

CaptureData* UndoStep::owner() const {
    // A long command lets events through: its layer may no longer be the working copy, or be closed.
    if (data_.history == history_) return &data_;
    for (int n = 1; n <= MAX_LAYERS; ++n) {
        if (app.layers[n].in_use && app.layers[n].history == history_) return &app.layers[n];
    }
    return nullptr;
}

void UndoStep::finish() {
    CaptureData* data = owner();
    if (!data) return;
    HistoryStep step;
    step.name = name_;
    step.error_count = error_count_before_;
    for (Kept& k : kept_) {
        if (k.mark >= data->mark_count()) continue;
        const Channel& channel = data->channels[k.mark];
        const int count = static_cast<int>(k.samples.size());
        const auto changed = [&](int i) {
            const int f = k.first + i;
            return !same_sample(k.samples[i], channel.samples[f]) || k.origins[i] != channel.origin(f) ||
                   (!k.residuals.empty() && channel.residuals &&
                    std::memcmp(&k.residuals[i], &channel.residuals[f], sizeof(float)) != 0);
        };
        std::vector<std::pair<int, int>> stretches;  // [from, to) within the kept range
        for (int i = 0; i < count; ++i) {
            if (!changed(i)) continue;
            if (!stretches.empty() && i - stretches.back().second <= JOIN_FRAMES) {
                stretches.back().second = i + 1;
            } else {
                stretches.emplace_back(i, i + 1);
            }
        }
        const bool whole = stretches.size() == 1 && stretches[0].first == 0 && stretches[0].second == count;
        for (const auto& [from, to] : stretches) {
            SampleRun run;
            run.mark = k.mark;
            run.first = k.first + from;
            run.samples = slice(k.samples, from, to, whole);
            run.origins = slice(k.origins, from, to, whole);
            run.residuals = slice(k.residuals, from, to, whole);
            step.runs.push_back(std::move(run));
        }
        // What was kept is given back as soon as it is compared.
        k = Kept{};
    }
    if (names_before_ && !same_names(*names_before_, data->channels)) {
        step.names = std::move(names_before_);
        // New names are work the file does not hold yet.
        data->samples_changed = true;
    }
    if (events_before_ && data->trial && !(*events_before_ == data->trial->events)) {
        step.events = std::move(events_before_);
        // Events are saved with the capture: an edit is unsaved work of the capture.
        data->samples_changed = true;
    }
    if (skeleton_before_ && !(*skeleton_before_ == skeleton_state_of(*data))) {
        step.skeleton = std::move(skeleton_before_);
    }
    // A count of lost coordinates put right, with nothing else changed, is not worth a step.
    if (!step.changes_capture() && !step.changes_skeleton()) return;
    history_->record(std::move(step), *data);
    tell_history_listener();
}
