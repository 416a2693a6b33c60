// The configuration file zemo.ini: the commands of the XML editor, the IDF editor and the XML
// viewer, one per line, in the working directory.
#pragma once

extern const char* const CONFIG_FILE_NAME;

struct AppState;

// Reads the three commands into `state`; a missing or unreadable file leaves them as they are.
// Without `state`, into the application's.
void config_load(AppState& state);
void config_load();
// Writes the three commands of `state`; if the file cannot be created nothing is written.
// Without `state`, the application's.
void config_save(const AppState& state);
void config_save();
