// The desktop program's start-up and main loop.
#pragma once

// Runs the program: returns 0 when the main loop has ended, 1 when it cannot start.
int zemo_main(int argc, char** argv);
