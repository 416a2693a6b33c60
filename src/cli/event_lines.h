// The lines zemo-cli prints for what a C3D file holds beyond the marks.
#pragma once

#include <string>

#include "engine/model/capture_model.h"

// "analog I NAME units U rate R", "plate I type T corners X,Y,Z X,Y,Z X,Y,Z X,Y,Z" and
// "event I " + event_line, one line each.
std::string trial_lines(const CaptureData& data);

// CONTEXT, LABEL, FRAME (0-based) and TIME (s), separated by tabs, for event `index`.
std::string event_line(const CaptureData& data, int index);
