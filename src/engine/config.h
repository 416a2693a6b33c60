// The configuration file zemo.ini: the commands of the XML editor, the IDF editor and the XML
// viewer, one per line, in the working directory (run from the build folder) or the user's
// configuration folder (installed).
#pragma once

#include <string>

struct ProgramFolders;

extern const char* const CONFIG_FILE_NAME;

struct AppState;

// Reads the three commands at `path` into `state`; a missing or unreadable file leaves them as
// they are. Without `state`, into the application's.
void config_load(AppState& state, const std::string& path);
void config_load(const std::string& path = CONFIG_FILE_NAME);
// Writes the three commands of `state` to `path`; if the file cannot be created nothing is
// written. Without `state`, the application's.
void config_save(const AppState& state, const std::string& path);
void config_save(const std::string& path = CONFIG_FILE_NAME);

// Where zemo.ini lives for these folders.
std::string config_file_path(const ProgramFolders& folders);
// When installed and the user has no zemo.ini yet: creates the configuration folder and copies the
// shipped defaults (defaults/zemo.ini of the run-time folder) there. False when that failed.
bool config_seed(const ProgramFolders& folders);
