// Writing a layer read from a C3D file back as C3D: the file as it was, in its own processor
// type and storage, with the marks as they are now and the parameters that follow them.
#pragma once

#include <cstdio>

#include "engine/formats/c3d/c3d_source.h"
#include "engine/model/capture_model.h"

// True when `data` still has the marks and frames of the file `source` keeps.
bool c3d_source_fits(const CaptureData& data, const C3dSource& source);

// True when every mark value can be stored in the source's integer words at its scale (always
// false for a floating-point source).
bool c3d_marks_fit_integers(const CaptureData& data, const C3dSource& source);

// Writes the file again: the header, the parameter section and every byte of the frames as they
// were, except the marks' coordinates and residual words, POINT:USED, POINT:FRAMES,
// POINT:DATA_START, LABELS (only where a mark was renamed), the header's counts and, when an
// integer file's marks no longer fit its words, the storage (POINT:SCALE made negative, every
// value converted to floating point exactly). `source` must fit `data`. False when the stream fails.
bool c3d_write_back(const CaptureData& data, const C3dSource& source, FILE* out);
