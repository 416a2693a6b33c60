// Writing the working copy of the current layer as an IDF file, and the Save and Save as commands.
#pragma once

#include <cstdio>
#include <string>

#include "core/capture_model.h"

// The name of the temporary file that saves are written through.
extern const char* const IDF_TEMP_FILE_NAME;

// Writes `data` to `out`: the header lines kept from the file it was read from, then one line
// per column and frame. False when the stream fails.
bool idf_write_stream(const CaptureData& data, FILE* out);
// The same with the given header lines.
bool idf_write_stream(const CaptureData& data, const std::string& header, FILE* out);

// The header a save writes: the lines of the opened file (`file_name`) as they are now, when it
// can still be read and is still an IDF capture of the same columns and frames, so that a header
// edited outside the program survives; otherwise the copy kept since opening.
SharedText idf_header_at_save(const CaptureData& data);

// Writes the working copy to `path`. Returns 0 on success, 1 when the file cannot be created or
// written; the reason is then in idf_write_error().
int idf_write(const std::string& path);
const std::string& idf_write_error();

// Save: writes the working copy over the file it was read from (`file_name`), in that file's
// format (IDF, C3D or TRC), through a temporary file beside it. On failure the file is unchanged
// and an error box says why.
int idf_save();

// Save as: writes the working copy to `path` the same safe way; `file_name` does not change.
// A name ending in ".trc" is written as TRC, ".c3d" as C3D (any case), anything else as IDF.
int idf_save_as(const std::string& path);
