// Seams for programs without windows: message boxes become lines of text, results on standard
// output and errors on standard error.
#pragma once

// Installs seams that print messages and drop status texts and history lines.
void install_console_seams();

