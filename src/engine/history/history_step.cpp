// Exchanging a step's values with the layer's, and what a step costs to keep.
#include "engine/history/history_step.h"

#include <algorithm>
#include <utility>

namespace {

bool same_bone(const Bone& a, const Bone& b) {
    return a.colour == b.colour && a.origin == b.origin && a.destination == b.destination;
}

bool same_style(const MarkStyle& a, const MarkStyle& b) { return a.colour == b.colour && a.visible == b.visible; }

void exchange_run(SampleRun& run, CaptureData& data) {
    Channel& channel = data.channels[run.mark];
    const auto count = static_cast<std::ptrdiff_t>(run.samples.size());
    std::swap_ranges(run.samples.begin(), run.samples.end(), channel.samples.get() + run.first);
    // A mark whose samples are all measured has no origins yet; they are made only when a
    // stored origin says otherwise.
    const bool all_measured = std::all_of(run.origins.begin(), run.origins.end(),
                                          [](SampleOrigin o) { return o == SampleOrigin::measured; });
    if (channel.origins || !all_measured) {
        SampleOrigin* origins = writable_origins(data, run.mark) + run.first;
        std::swap_ranges(run.origins.begin(), run.origins.end(), origins);
    }
    if (!run.residuals.empty() && channel.residuals) {
        std::swap_ranges(run.residuals.begin(), run.residuals.begin() + count, channel.residuals.get() + run.first);
    }
}

}  // namespace

bool SkeletonState::operator==(const SkeletonState& other) const {
    return bone_count == other.bone_count && skeleton_file == other.skeleton_file &&
           std::equal(bones.begin(), bones.end(), other.bones.begin(), other.bones.end(), same_bone) &&
           std::equal(mark_styles.begin(), mark_styles.end(), other.mark_styles.begin(), other.mark_styles.end(),
                      same_style);
}

SkeletonState skeleton_state_of(const CaptureData& data) {
    SkeletonState state;
    state.bone_count = data.bone_count;
    state.bones.assign(data.bones.begin(), data.bones.begin() + data.bone_count);
    state.mark_styles = data.mark_styles;
    state.skeleton_file = data.skeleton_file;
    return state;
}

size_t HistoryStep::bytes() const {
    size_t total = sizeof *this + name.size();
    for (const SampleRun& run : runs) {
        total += sizeof run + run.samples.capacity() * sizeof(Sample) + run.origins.capacity() * sizeof(SampleOrigin) +
                 run.residuals.capacity() * sizeof(float);
    }
    if (names) total += names->capacity() * sizeof(SharedText);
    if (skeleton) {
        total += skeleton->bones.capacity() * sizeof(Bone) + skeleton->mark_styles.capacity() * sizeof(MarkStyle);
    }
    if (events) total += events->capacity() * sizeof(GaitEvent);
    return total;
}

void exchange_step(HistoryStep& step, CaptureData& data) {
    for (SampleRun& run : step.runs) exchange_run(run, data);
    if (step.names) {
        for (size_t m = 0; m < step.names->size() && m < data.channels.size(); ++m) {
            std::swap((*step.names)[m], data.channels[m].name);
        }
    }
    if (step.skeleton) {
        SkeletonState current = skeleton_state_of(data);
        SkeletonState& stored = *step.skeleton;
        std::copy(stored.bones.begin(), stored.bones.end(), data.bones.begin());
        data.bone_count = stored.bone_count;
        data.mark_styles = stored.mark_styles;
        data.skeleton_file = stored.skeleton_file;
        stored = std::move(current);
    }
    if (step.events && data.trial) {
        std::swap(*step.events, data.trial->events);
        // The events now differ from what the file was read with, or may: Save writes them.
        data.trial->events_edited = true;
    }
    std::swap(step.error_count, data.error_count);
}
