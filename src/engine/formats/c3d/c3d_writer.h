// Writing layer data as a C3D file: a layer read from a C3D file as that file again
// (engine/formats/c3d/c3d_write_back.h), any other with Intel processor type, floating-point storage, points only.
#pragma once

#include <cstdio>

#include "engine/model/capture_model.h"

// Writes `data` to `out`. A layer that keeps its C3D file is written back as that file. Any other
// gets the header block, the parameter section (POINT:USED, SCALE -1, RATE, DATA_START, FRAMES,
// LABELS; ANALOG:USED 0; the frame range in TRIAL) and one record of x, y, z and residual word per
// mark and frame (engine/formats/c3d/c3d_residual.h). A sample with any lost coordinate is a lost point:
// zeros with residual -1, since C3D cannot keep a point with some coordinates lost. False when
// the stream fails.
bool c3d_write_stream(const CaptureData& data, FILE* out);

// Samples with some but not all of their coordinates lost: what C3D writes as wholly lost.
long long partly_lost_samples(const CaptureData& data);
