// Captures in and out of layers, whatever their format: opening an IDF, C3D or TRC file (told
// apart by what it holds) as a new layer, and saving the current layer in its own format or in
// the one a new name asks for.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/formats/read_error.h"
#include "engine/model/capture_model.h"
#include "engine/model/status.h"

// The name of the temporary file that saves are written through.
extern const char* const IDF_TEMP_FILE_NAME;

// Reads the open stream from its start as C3D, TRC or IDF (capture_format_of_content) into `out`.
// `name` is the file name used in messages. Returns 0, or 1 with the reason in `error` (an empty
// text for the IDF failures that have no message) and `out` untouched. `warnings`, when given,
// receives what was wrong with a file that could still be read.
int capture_read_stream(FILE* file, const std::string& name, CaptureData& out, ReadError& error,
                        std::vector<std::string>* warnings = nullptr);

// Reads the file at `path` as a new layer in the lowest free slot and makes it current. The file
// may be IDF, C3D or TRC, told apart by its content. On failure changes nothing and returns why;
// a file that cannot be opened, or an IDF header cut short, is a quiet failure. A file that had
// to be repaired to be read says what was wrong on the status bar, and in `warnings` when given.
Status capture_read_layer(const std::string& path, std::vector<std::string>* warnings = nullptr);
// The same, showing a failure in an error box: 0 on success, 1 on failure.
int idf_read(const std::string& path);

// Writes `data` to `path`; fails when the file cannot be created or written, naming the path and
// the system's reason.
Status capture_write(const CaptureData& data, const std::string& path);
// The working copy, as 0 on success, 1 on failure.
int idf_write(const std::string& path);

// Save: writes the capture over the file it was read from (`file_name`), in that file's
// format (IDF, C3D or TRC), through a temporary file beside it. On failure the file is unchanged
// and the status says why.
Status capture_save(CaptureData& data);
// The working copy, showing a failure in an error box: 0 on success, 1 on failure.
int idf_save();

// Save as: writes the capture to `path` the same safe way; `file_name` does not change.
// A name ending in ".trc" is written as TRC, ".c3d" as C3D (any case), anything else as IDF.
Status capture_save_as(CaptureData& data, const std::string& path);
// The working copy, showing a failure in an error box: 0 on success, 1 on failure.
int idf_save_as(const std::string& path);
