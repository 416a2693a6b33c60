// The IDF writer: a capture record as IDF text on a stream, and the header a save writes.
#pragma once

#include <cstdio>
#include <string>

#include "engine/model/capture_model.h"

// Writes `data` to `out`: the header lines kept from the file it was read from, then one line
// per column and frame. False when the stream fails.
bool idf_write_stream(const CaptureData& data, FILE* out);
// The same with the given header lines.
bool idf_write_stream(const CaptureData& data, const std::string& header, FILE* out);

// The header a save writes: the lines of the opened file (`file_name`) as they are now, when it
// can still be read and is still an IDF capture of the same columns and frames, so that a header
// edited outside the program survives; otherwise the copy kept since opening.
SharedText idf_header_at_save(const CaptureData& data);
