// Loading and saving the skeleton of a capture, and the skeleton page's three file commands
// without their widgets.
#pragma once

#include <string>

#include "engine/model/capture_model.h"
#include "engine/model/status.h"

// Reads the BON file at `path` into the skeleton of `data`, which then has nothing unsaved. On
// failure the skeleton is unchanged and the status says why: quietly when the file cannot be
// opened, otherwise with the message the user is shown.
Status skeleton_load_file(CaptureData& data, const std::string& path);
// The same, showing a failure that is not quiet in an error box: 0 on success, 1 on failure.
// Without `data`, into the working copy.
int skeleton_load(CaptureData& data, const std::string& path);
int skeleton_load(const std::string& path);

// Writes the skeleton of `data` to `path` through a temporary file beside it, so that a failure
// leaves whatever was there untouched. On success the skeleton has nothing unsaved; a failure
// says "Error saving file:\n %s" with the path, and the reason.
Status skeleton_write_file(CaptureData& data, const std::string& path);
// The same as 0 on success, 1 on failure, showing nothing. Without `data`, the working copy's.
int skeleton_save(CaptureData& data, const std::string& path);
int skeleton_save(const std::string& path);

// Every mark style back to "Gris" and visible, and no bones. Without `data`, of the working copy.
void skeleton_reset(CaptureData& data);
void skeleton_reset();

// Open: loads the file and, when it loads, binds the layer to it (`skeleton_file`).
int skeleton_open(CaptureData& data, const std::string& path);
// Save: writes to the file the layer is bound to, if any, and shows why when that fails.
// Returns 0 when written, 1 when it failed or the layer is bound to no file.
int skeleton_save_bound(CaptureData& data);
// Save as: writes to `path` and leaves the binding as it was; a failure shows
// "Error saving file:\n %s" with the path and the reason.
int skeleton_save_as(CaptureData& data, const std::string& path);
