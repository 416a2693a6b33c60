// The File commands: Open, Save, Save as and Close.
#pragma once

#include <gtk/gtk.h>

// Closes the current layer, whatever was not saved (the Close command asks first).
void file_close();

// Connects the commands and sets what the file-selection dialog does with a capture to open or
// to save as.
void connect_file_commands(GtkWidget* window);
