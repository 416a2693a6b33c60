// Event edits. Times are kept as the file gives them; a new event gets the time of its frame,
// so that it falls on that frame again when read back.
#include "engine/gait/gait_events.h"

#include <algorithm>
#include <cmath>

#include "engine/formats/c3d/c3d_trial.h"

const char* const EVENT_LABELS[3] = {"Foot Strike", "Foot Off", "General"};
const char* const EVENT_CONTEXTS[3] = {"Left", "Right", "General"};

namespace {

constexpr size_t MAX_EVENTS = 255;

const char* description_of(const std::string& label) {
    if (label == "Foot Strike") return "The instant the heel strikes the ground";
    if (label == "Foot Off") return "The instant the toe leaves the ground";
    return "";
}

int icon_of(const std::string& label, const std::string& context) {
    if (context == "General") return 0;
    return label == "Foot Off" ? 2 : 1;
}

}  // namespace

int event_frame(const CaptureData& data, double time) {
    const double number = std::round(time * data.capture_rate) + 1 - data.first_frame;
    // A time far outside the capture falls on no frame.
    return std::isfinite(number) && std::fabs(number) < 1e9 ? static_cast<int>(number) : -1;
}

double frame_event_time(const CaptureData& data, int frame) {
    return data.capture_rate > 0 ? (frame + data.first_frame - 1) / data.capture_rate : 0;
}

std::vector<int> events_by_time(const CaptureData& data) {
    std::vector<int> order;
    if (!data.trial) return order;
    const auto& events = data.trial->events;
    for (size_t i = 0; i < events.size(); ++i) order.push_back(static_cast<int>(i));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return events[a].time < events[b].time; });
    return order;
}

int neighbour_event_frame(const CaptureData& data, int frame, bool forward) {
    int best = -1;
    if (!data.trial) return best;
    for (const GaitEvent& event : data.trial->events) {
        const int f = event_frame(data, event.time);
        if (f < 0 || f >= data.num_frames) continue;
        if (forward && f > frame && (best < 0 || f < best)) best = f;
        if (!forward && f < frame && (best < 0 || f > best)) best = f;
    }
    return best;
}

Status add_event(CaptureData& data, int frame, const std::string& context, const std::string& label) {
    if (!data.c3d_source || !data.trial) return Status::failure("Events are kept only in captures read from C3D files.");
    if (frame < 0 || frame >= data.num_frames) {
        return Status::failure("Frame " + std::to_string(frame) + " is not a frame of the capture.");
    }
    if (data.trial->events.size() >= MAX_EVENTS) {
        return Status::failure("The capture already holds " + std::to_string(MAX_EVENTS) +
                               " events, as many as a C3D file can.");
    }
    GaitEvent event;
    event.context = context;
    event.label = label;
    event.description = description_of(label);
    event.time = frame_event_time(data, frame);
    event.icon_id = icon_of(label, context);
    data.trial->events.push_back(event);
    data.trial->events_edited = true;
    data.events_changed = true;
    return {};
}

Status delete_event(CaptureData& data, int index) {
    if (!data.trial || index < 0 || index >= static_cast<int>(data.trial->events.size())) {
        return Status::failure("There is no such event.");
    }
    data.trial->events.erase(data.trial->events.begin() + index);
    data.trial->events_edited = true;
    data.events_changed = true;
    return {};
}
