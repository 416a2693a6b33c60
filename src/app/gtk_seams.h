// The desktop program's reporting: message boxes over the main window, the status bar, the
// history log, and the placement widgets of the current layer.
#pragma once

void install_gtk_seams();
