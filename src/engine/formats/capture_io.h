// Reading a capture file of any of the three formats, told apart by what the file holds.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/capture_model.h"
#include "core/idf_reader.h"

// Reads the open stream from its start as C3D, TRC or IDF (capture_format_of_content) into `out`.
// `name` is the file name used in messages. Returns 0, or 1 with the reason in `error` (an empty
// text for the IDF failures that have no message) and `out` untouched. `warnings`, when given,
// receives what was wrong with a file that could still be read.
int capture_read_stream(FILE* file, const std::string& name, CaptureData& out, IdfError& error,
                        std::vector<std::string>* warnings = nullptr);
