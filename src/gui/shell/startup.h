// The desktop program's start-up and main loop.
#pragma once

// Builds the windows (splash shown, main window hidden), connects the interface's reporting and
// puts the widgets into their no-file state. Needs the program's directory as working directory.
void create_interface();

// Reads a capture named on the command line into a new layer and refreshes the widgets for it.
void open_startup_capture(const char* path);

// Runs the program: returns 0 when the main loop has ended, 1 when it cannot start.
int zemo_main(int argc, char** argv);
