// The summary zemo-cli info prints before its one line per mark.
#pragma once

#include <string>

#include "engine/model/capture_model.h"

// "rate: R", "columns: N", "marks: N", "frames: N", "lost: N", "first_frame: N", then
// "analog: N channels at R Hz" when the capture keeps analog channels, "plates: N", "events: N";
// one line each.
std::string capture_summary(const CaptureData& data);
