// Writing layer data as a TRC file, the tab-separated marker file OpenSim reads.
#pragma once

#include <cstdio>
#include <string>

#include "engine/model/capture_model.h"

// Writes `data` to `out`. `file_name` goes into the first line, as TRC files name themselves.
// Units are the layer's own when its file named them, otherwise "mm" (the captures it reads are
// in millimetres); a lost coordinate is "NaN". False when the stream fails.
bool trc_write_stream(const CaptureData& data, FILE* out, const std::string& file_name);
