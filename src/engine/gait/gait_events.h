// Gait events of a layer read from a C3D file: where each falls among the frames, and adding and
// deleting them. An edit marks the layer as having unsaved events; Save writes them into EVENT.
#pragma once

#include <string>
#include <vector>

#include "engine/model/capture_model.h"
#include "engine/model/status.h"

// The choices the interface offers.
extern const char* const EVENT_LABELS[3];    // "Foot Strike", "Foot Off", "General"
extern const char* const EVENT_CONTEXTS[3];  // "Left", "Right", "General"

// The 0-based frame of the layer an event time falls on (the file's frame numbers count from 1
// at time 0), and the time of a frame.
int event_frame(const CaptureData& data, double time);
double frame_event_time(const CaptureData& data, int frame);

// Indices of the layer's events ordered by time (none when the layer has no trial).
std::vector<int> events_by_time(const CaptureData& data);

// The frame of the nearest event after (`forward`) or before `frame`; -1 when there is none.
int neighbour_event_frame(const CaptureData& data, int frame, bool forward);

// Adds an event at `frame`. Fails when the layer was not read from a C3D file, the frame is not
// one of its frames, or it already holds 255 events (what EVENT's arrays can index).
Status add_event(CaptureData& data, int frame, const std::string& context, const std::string& label);

// Deletes event `index` (an index into the trial's events).
Status delete_event(CaptureData& data, int index);
