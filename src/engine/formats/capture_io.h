// Captures in and out of layers, whatever their format: opening an IDF, C3D or TRC file (told
// apart by what it holds) as a new layer, and saving the current layer in its own format or in
// the one a new name asks for.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/formats/read_error.h"
#include "engine/model/capture_model.h"

// The name of the temporary file that saves are written through.
extern const char* const IDF_TEMP_FILE_NAME;

// Reads the open stream from its start as C3D, TRC or IDF (capture_format_of_content) into `out`.
// `name` is the file name used in messages. Returns 0, or 1 with the reason in `error` (an empty
// text for the IDF failures that have no message) and `out` untouched. `warnings`, when given,
// receives what was wrong with a file that could still be read.
int capture_read_stream(FILE* file, const std::string& name, CaptureData& out, IdfError& error,
                        std::vector<std::string>* warnings = nullptr);

// Reads the file at `path` as a new layer in the lowest free slot and makes it current. The file
// may be IDF, C3D or TRC, told apart by its content.
// Returns 0 on success; on failure shows the message (if the failure has one) and changes nothing.
// A file that had to be repaired to be read says what was wrong on the status bar.
int idf_read(const std::string& path);
// What was wrong with the file the last idf_read opened (empty when nothing was).
const std::vector<std::string>& idf_read_warnings();

// Writes `data` (without it, the working copy) to `path`. Returns 0 on success, 1 when the file
// cannot be created or written; the reason is then in idf_write_error().
int idf_write(const CaptureData& data, const std::string& path);
int idf_write(const std::string& path);
const std::string& idf_write_error();

// Save: writes the capture over the file it was read from (`file_name`), in that file's
// format (IDF, C3D or TRC), through a temporary file beside it. On failure the file is unchanged
// and an error box says why. Without `data`, the working copy.
int idf_save(CaptureData& data);
int idf_save();

// Save as: writes the capture to `path` the same safe way; `file_name` does not change.
// A name ending in ".trc" is written as TRC, ".c3d" as C3D (any case), anything else as IDF.
// Without `data`, the working copy.
int idf_save_as(CaptureData& data, const std::string& path);
int idf_save_as(const std::string& path);
