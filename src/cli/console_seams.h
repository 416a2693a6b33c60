// Seams for programs without windows: message boxes become lines of text, results on standard
// output and errors on standard error.
#pragma once

// Installs seams that print messages and drop status texts and history lines.
void install_console_seams();

// True once a message has been shown since the last call (which clears it): lets a command tell
// a failure that was explained from one that was not.
bool console_message_shown();
