// Layer data from the marks a C3D or TRC reader found, the same as an IDF file of them gives.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/model/capture_model.h"

// `labels` and `samples` hold one entry per mark (at most MAX_CHANNELS), each sample array
// `frames` long with lost coordinates at LOST_VALUE; `rate` is kept as the file gives it, whole
// or not. Names the marks, makes the IDF header, counts the lost coordinates (unless the reader
// gives their number in `lost`) and fills `out` (replacing what it held).
void capture_build(double rate, int frames, const std::vector<std::string>& labels,
                   std::vector<std::shared_ptr<Sample[]>>& samples, CaptureFormat format, CaptureData& out,
                   long long lost = -1);
