// Asking before work is lost: closing a layer or quitting with unsaved samples or skeleton, and
// Save as over a file that already exists.
#pragma once

#include <string>

// True when `path` names no existing file, or the user chose to replace it.
bool replace_confirmed(const std::string& path);

// Whether the current layer may be closed: nothing changed since it was opened or saved, the
// user saved it, or chose to close without saving. False on Cancel or when the save failed.
bool close_confirmed();

// Asks for every open layer with unsaved work, in slot order, before any is closed. False on the
// first Cancel or failed save; the layer that was current before is then current again.
bool quit_confirmed();
