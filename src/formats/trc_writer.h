// Writing layer data as a TRC file, the tab-separated marker file OpenSim reads.
#pragma once

#include <cstdio>
#include <string>

#include "core/capture_model.h"

// Writes `data` to `out`. `file_name` goes into the first line, as TRC files name themselves.
// Units are written as "mm": a layer does not record its units, and the captures it reads are
// in millimetres. A lost coordinate is an empty field. False when the stream fails.
bool trc_write_stream(const CaptureData& data, FILE* out, const std::string& file_name);
