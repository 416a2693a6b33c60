// The desktop program's reporting: message boxes over the main window, the status bar, the
// history log, and the placement widgets of the current layer.
#pragma once

void install_gtk_seams();

// Answers the message box being shown, if any, as if its window had been closed.
void dismiss_running_message();
