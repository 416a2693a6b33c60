// The configuration file zemo.ini: the commands of the XML editor, the IDF editor and the XML
// viewer, one per line, in the working directory.
#pragma once

extern const char* const CONFIG_FILE_NAME;

// Reads the three commands; a missing or unreadable file leaves them as they are.
void config_load();
// Writes the three commands; if the file cannot be created nothing is written.
void config_save();
