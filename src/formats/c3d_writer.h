// Writing layer data as a C3D file: Intel processor type, floating-point storage, points only.
#pragma once

#include <cstdio>

#include "core/capture_model.h"

// Writes `data` to `out`: the header block, the parameter section (POINT:USED, SCALE -1, RATE,
// DATA_START, FRAMES, LABELS; ANALOG:USED 0; the frame range in TRIAL) and one record of x, y, z
// and residual per mark and frame. A sample with any lost coordinate is a lost point: zeros with
// residual -1, since C3D cannot keep a point with some coordinates lost. False when the stream fails.
bool c3d_write_stream(const CaptureData& data, FILE* out);

// Samples with some but not all of their coordinates lost: what C3D writes as wholly lost.
long long partly_lost_samples(const CaptureData& data);
