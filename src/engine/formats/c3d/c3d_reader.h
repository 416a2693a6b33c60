// Reading C3D files (any of the three processor types, integer or floating-point storage) into
// layer data: the marks, with the rest of the file kept beside them (engine/formats/c3d/c3d_source.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/formats/read_error.h"
#include "engine/model/capture_model.h"
#include "platform/mapped_file.h"

// Parses a whole C3D file held in memory. `name` is the file name used in messages. Returns 0 and
// fills `out`, or 1 with the reason in `error` and `out` untouched. A file with format errors
// that still allow one reading is read; `warnings`, when given, receives one sentence for each
// thing that was wrong with it.
int c3d_parse(std::string_view bytes, const std::string& name, CaptureData& out, ReadError& error,
              std::vector<std::string>* warnings = nullptr);
// The same for a file mapped in memory; the frames leave memory as they are decoded, so that
// reading takes little more than the layer itself.
int c3d_parse_mapped(const MappedFile& file, const std::string& name, CaptureData& out, ReadError& error,
                     std::vector<std::string>* warnings = nullptr);
