// The desktop program's reporting: message boxes over the main window, the status bar, the
// history log, and the placement widgets of the current layer.
#pragma once

#include "core/capture_model.h"

void install_gtk_seams();

// The current layer's placement as its widgets hold it.
LayerPlacement placement_from_widgets();

// Answers the message box being shown, if any, as if its window had been closed.
void dismiss_running_message();
