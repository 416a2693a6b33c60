// Frames as the file numbers them, and their time: the view shows a capture's own frame
// numbers (a C3D's first frame onwards, a TRC's first Frame#, 0 for IDF) and the seconds since
// its first frame, while inside frames stay indices from 0.
#pragma once

#include <string>

#include "engine/model/capture_model.h"

// Decimals enough to tell two frames apart at the rate: 2 at 100 Hz, 3 at 1000 Hz.
int time_decimals(double rate);
// "273  0.00 s" for index 0 of a capture whose first frame is 273, at 100 Hz.
std::string frame_time_text(const CaptureData& data, int index);
// A "Go to" text: a whole number is a frame number of the file, a number with a point or an
// "s" after it a time in seconds. The index it names, clamped to the capture; false when the
// text is neither.
bool parse_go_to(const std::string& text, const CaptureData& data, int& index);
