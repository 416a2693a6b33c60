// Loading and saving the skeleton of a capture, and the skeleton page's three file commands
// without their widgets.
#pragma once

#include <string>

#include "engine/model/capture_model.h"

// Reads the BON file at `path` into the skeleton of `data`, which then has nothing unsaved.
// Returns 0 on success;
// 1 when the file cannot be read (no message) or is refused (its message shown in an error
// box), the skeleton then unchanged. Without `data`, into the working copy.
int skeleton_load(CaptureData& data, const std::string& path);
int skeleton_load(const std::string& path);

// Writes the skeleton of `data` to `path` through a temporary file beside it, so that a failure
// leaves whatever was there untouched. Returns 0 on success, the skeleton then having nothing
// unsaved; 1 on failure, with the reason in skeleton_save_error(). Without `data`, the working
// copy's.
int skeleton_save(CaptureData& data, const std::string& path);
int skeleton_save(const std::string& path);
const std::string& skeleton_save_error();

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
