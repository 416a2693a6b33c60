// The configuration file zemo.ini: the commands of the XML editor, the IDF editor and the XML
// viewer, one per line, in the working directory (run from the build folder) or the user's
// configuration folder (installed).
#pragma once

#include <string>

struct ProgramFolders;

extern const char* const CONFIG_FILE_NAME;

// Reads the three commands; a missing or unreadable file leaves them as they are.
void config_load(const std::string& path = CONFIG_FILE_NAME);
// Writes the three commands; if the file cannot be created nothing is written.
void config_save(const std::string& path = CONFIG_FILE_NAME);

// Where zemo.ini lives for these folders.
std::string config_file_path(const ProgramFolders& folders);
// When installed and the user has no zemo.ini yet: creates the configuration folder and copies the
// shipped defaults (defaults/zemo.ini of the run-time folder) there. False when that failed.
bool config_seed(const ProgramFolders& folders);
