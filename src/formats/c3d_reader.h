// Reading C3D files (any of the three processor types, integer or floating-point storage) into
// layer data: the marks only, model outputs left out.
#pragma once

#include <string>
#include <string_view>

#include "core/capture_model.h"
#include "core/idf_reader.h"

// Parses a whole C3D file held in memory. `name` is the file name used in messages. Returns 0 and
// fills `out`, or 1 with the reason in `error` and `out` untouched.
int c3d_parse(std::string_view bytes, const std::string& name, CaptureData& out, IdfError& error);
